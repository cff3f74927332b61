#include "messages/P00_YellowMsg.h"

#include "interfaces/code_pages.h"

namespace pralix {

namespace {

constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kLabelLeft = 16;
constexpr int kLabelTop = 24;
constexpr int kNarrowestLabel = 230;  // narrower labels are widened...
constexpr int kWidenedLabel = 260;    // ...to this, so the button fits well

// Closes the mutex however the dialog ends, an exception included.
class MutexHeld {
 public:
  MutexHeld(NamedMutex& mutex, const char* name) : mutex_(mutex) {
    // Without the mutex the dialog is shown all the same.
    mutex_.create(name);
  }
  ~MutexHeld() { mutex_.close(); }
  MutexHeld(const MutexHeld&) = delete;
  MutexHeld& operator=(const MutexHeld&) = delete;

 private:
  NamedMutex& mutex_;
};

}  // namespace

QString YellowMsgCaption(qint32 number) { return QStringLiteral("MSG - ") + QString::number(qint64(number) + 1000); }

YellowMsgLayout LayoutYellowMsg(int labelWidth, int labelHeight) {
  YellowMsgLayout l{};
  l.buttonWidth = kButtonWidth;
  l.buttonHeight = kButtonHeight;
  l.labelLeft = kLabelLeft;
  l.labelTop = kLabelTop;
  l.labelWidth = labelWidth < kNarrowestLabel ? kWidenedLabel : labelWidth;
  l.groupBoxHeight = labelHeight + 2 * l.labelTop;
  l.clientWidth = l.labelWidth + 32;
  l.clientHeight = l.groupBoxHeight + l.buttonHeight + 32;
  l.buttonLeft = (l.clientWidth - l.buttonWidth) / 2;
  l.buttonTop = l.groupBoxHeight + 16;
  return l;
}

void YellowMsg::ShowMsg(qint32 number) { Show(YellowMsgCaption(number), messages_.Get(number)); }

void YellowMsg::ShowText(const QByteArray& text) { Show(QString::fromLatin1(kFreeTextCaption), text); }

void YellowMsg::Show(const QString& caption, const QByteArray& text) {
  const QString wide = DecodeWithCodePage(text, kCentralEuropeanCodePage);
  MutexHeld held(mutex_, kYellowMsgMutexName);
  ui_.showImportantMessage(caption, wide);
}

}  // namespace pralix

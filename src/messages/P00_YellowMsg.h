#pragma once
// The important-message dialog's behaviour, apart from drawing: caption,
// text, the named mutex "YellowMsg" held exactly while the dialog is on
// screen, and the layout around the text.  The window itself comes through
// UserInterface::showImportantMessage.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "messages/P00_msg.h"
#include "messages/user_interface.h"
#include "interfaces/named_mutex.h"

namespace pralix {

inline constexpr char kYellowMsgMutexName[] = "YellowMsg";
inline constexpr char kFreeTextCaption[] = "MSG - 9999";
inline constexpr char kYellowMsgDesignCaption[] = "Vazna poruka";

// "MSG - " and number + 1000: message 3 is "MSG - 1003".
QString YellowMsgCaption(qint32 number);

// Where the dialog's parts go, in pixels, for a label that sized itself to
// its text (one line per line feed, no wrapping).
struct YellowMsgLayout {
  int labelLeft;
  int labelTop;
  int labelWidth;
  int groupBoxHeight;
  int clientWidth;
  int clientHeight;
  int buttonLeft;
  int buttonTop;
  int buttonWidth;
  int buttonHeight;
};
YellowMsgLayout LayoutYellowMsg(int labelWidth, int labelHeight);

class YellowMsg {
 public:
  YellowMsg(UserInterface& ui, NamedMutex& mutex, const Msg& messages = GlobalMsg)
      : ui_(ui), mutex_(mutex), messages_(messages) {}

  // Catalogue message number under the caption "MSG - " + (number + 1000);
  // returns once the user closed the dialog.  A number without text shows
  // an empty label.
  void ShowMsg(qint32 number);
  // A Windows-1250 text under the caption "MSG - 9999".
  void ShowText(const QByteArray& text);

 private:
  void Show(const QString& caption, const QByteArray& text);

  UserInterface& ui_;
  NamedMutex& mutex_;
  const Msg& messages_;
};

}  // namespace pralix

#include "workstation/TFormMainPralix_window.h"

#include <QFontMetrics>
#include <QScreen>
#include <algorithm>
#include <QSignalBlocker>

#include "build_config.h"
#include "messages/key_preview_window.h"
#include "messages/window_fonts_window.h"
#include "workstation/model_catalogue.h"

namespace pralix {

namespace {

const QColor kBackground(38, 38, 38);
const QColor kControlBackground(249, 251, 248);
const QColor kRed(255, 0, 0);
constexpr int kModelListWidth = 285;

QFont CaptionFont() { return WindowFont("Calibri", 16); }
QFont ContentFont() { return WindowFont("Courier New", 16); }

// Black text on the controls' off-white.
void PaintControl(QWidget* control) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::Base, kControlBackground);
  palette.setColor(QPalette::Window, kControlBackground);
  palette.setColor(QPalette::Button, kControlBackground);
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::ButtonText, Qt::black);
  control->setPalette(palette);
}

QLabel* WhiteCaption(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(CaptionFont());
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  label->adjustSize();
  return label;
}

struct EditPlace {
  const char* name;
  int left;
  int top;
  int width;
  const char* hint;  // UTF-8
  Qt::Alignment alignment;
};

constexpr int kEditHeight = 26;
constexpr int kEditLabelSpacing = 3;  // between the caption's foot and the edit

constexpr EditPlace kEditPlaces[] = {
    {"LEFPPort", 28, 270, 100, "", Qt::AlignLeft},
    {"LEFirmware", 151, 270, 259, "Verzija firmvera", Qt::AlignLeft},
    {"LEBPDI", 441, 270, 60, "Broj preostalih DI", Qt::AlignRight},
    {"LEPIB", 28, 353, 100, "", Qt::AlignLeft},
    {"LETax", 151, 353, 100, "Aktivne poreske grupe", Qt::AlignLeft},
    {"LECurrJXVer", 282, 353, 128, "", Qt::AlignLeft},
    {"LEPluNumber", 441, 353, 60, "Broj PLU-ova u FP memoriji", Qt::AlignRight},
    {"LEIBFM", 28, 436, 100, "IBFM broj", Qt::AlignLeft},
    {"LEDTFP", 151, 436, 168, "", Qt::AlignLeft},
    {"LEDTDiff", 328, 436, 109, "Razlika vremena", Qt::AlignRight},
    {"LEDisplayOK", 446, 436, 55, "Provera displeja", Qt::AlignHCenter},
};

const EditPlace& PlaceOf(const char* name) {
  for (const EditPlace& place : kEditPlaces) {
    if (qstrcmp(place.name, name) == 0) return place;
  }
  Q_UNREACHABLE();
}

struct PanelPlace {
  int tag;
  const char* caption;
  int top;
};

// In the column's order, top to bottom.
constexpr PanelPlace kPanelPlaces[] = {
    {1, " 1. Test", 37},      {2, " 2. Send DiagData", 92}, {3, " 3. Find printer", 147},
    {4, " 4. Diagnostic", 202}, {5, " 5. X Report", 257},     {6, " 6. Z Report", 312},
    {7, " 7. P Report", 367},   {0, " 0. Exit", 422},
};
constexpr int kPanelLeft = 525;
constexpr int kPanelWidth = 155;
constexpr int kPanelHeight = 40;

}  // namespace

TFormMainPralix::TFormMainPralix(Workstation& workstation, QWidget* parent)
    : QWidget(parent), workstation_(workstation) {
  setObjectName(QStringLiteral("FormMainPralix"));
  setWindowTitle(QString::fromLatin1(kCaption));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(WindowFont("MS Sans Serif", 11, true));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  setPalette(palette);

  Label2 = WhiteCaption(this, QStringLiteral("Label2"), QStringLiteral("ComPorts"));
  Label2->move(28, 16);
  MemoPorts = new QPlainTextEdit(this);
  MemoPorts->setObjectName(QStringLiteral("MemoPorts"));
  MemoPorts->setGeometry(28, 37, 100, 190);
  MemoPorts->setReadOnly(true);
  MemoPorts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoPorts->setFont(ContentFont());
  MemoPorts->setToolTip(QStringLiteral("Raspoloživi portovi na PC"));
  PaintControl(MemoPorts);

  Label1 = WhiteCaption(this, QStringLiteral("Label1"), QStringLiteral("Select FP model"));
  Label1->move(182, 16);
  CBFP = new QComboBox(this);
  CBFP->setObjectName(QStringLiteral("CBFP"));
  for (const ModelEntry& model : ModelCatalogue) CBFP->addItem(QString::fromLatin1(model.line));
  CBFP->setMaxVisibleItems(16);
  // The lines' columns must stay whole: where the style's frame and arrow
  // take more room than the designed one, the font steps down until they fit.
  for (int pixels = 19; pixels >= 14; --pixels) {
    CBFP->setFont(WindowFont("Courier New", pixels, true));
    if (CBFP->sizeHint().width() <= kModelListWidth) break;
  }
  CBFP->setGeometry(182, 37, kModelListWidth, CBFP->sizeHint().height());
  PaintControl(CBFP);
  connect(CBFP, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int index) { workstation_.fields().CBFPIndex = index; });

  MemoHeader = new QPlainTextEdit(this);
  MemoHeader->setObjectName(QStringLiteral("MemoHeader"));
  MemoHeader->setGeometry(151, 88, 350, 139);
  MemoHeader->setReadOnly(true);
  MemoHeader->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoHeader->setFont(CaptionFont());
  PaintControl(MemoHeader);

  CreateLabelledEdits();
  CreateActionPanels();
  CreateStatusStrip();

  // Key preview: the dispatcher sees every character key first and decides
  // whether the focused control still gets it.
  new KeyPreview(this, [this](QChar key) {
    const QChar passedOn = workstation_.FormKeyPress(key);
    refreshFromFields();
    return passedOn.isNull();
  });

  refreshFromFields();
}

void TFormMainPralix::CreateLabelledEdits() {
  for (size_t i = 0; i < kLabelledEdits.size(); ++i) {
    const LabelledEditInfo& info = kLabelledEdits[i];
    const EditPlace& place = PlaceOf(info.name);
    const QString name = QString::fromLatin1(info.name);

    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(place.left, place.top, place.width, kEditHeight);
    edit->setReadOnly(true);
    edit->setAlignment(place.alignment | Qt::AlignVCenter);
    edit->setFont(ContentFont());
    edit->setToolTip(QString::fromUtf8(place.hint));
    PaintControl(edit);
    edits_[i] = edit;

    QLabel* label = WhiteCaption(this, name + QStringLiteral("Label"), QString::fromLatin1(info.caption));
    label->move(place.left, place.top - kEditLabelSpacing - label->height());
    label->setBuddy(edit);
    editLabels_[i] = label;
  }
}

void TFormMainPralix::CreateActionPanels() {
  // All captions in one size, stepped down only where the stand-in font is
  // too wide for the longest caption.
  QFont font;
  for (int pixels = 21; pixels >= 14; --pixels) {
    font = WindowFont("Calibri", pixels);
    const QFontMetrics metrics(font);
    if (std::all_of(std::begin(kPanelPlaces), std::end(kPanelPlaces), [&](const PanelPlace& place) {
          return metrics.horizontalAdvance(QString::fromLatin1(place.caption)) < kPanelWidth;
        }))
      break;
  }
  for (size_t i = 0; i < std::size(kPanelPlaces); ++i) {
    const PanelPlace& place = kPanelPlaces[i];
    auto* panel = new ClickPanel(QString::fromLatin1(place.caption), this);
    panel->setObjectName(QStringLiteral("Panel%1").arg(place.tag));
    panel->setTag(place.tag);
    panel->setGeometry(kPanelLeft, place.top, kPanelWidth, kPanelHeight);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setFont(font);
    PaintControl(panel);
    panel->setOnClick([this, panel] {
      workstation_.PanelClick(panel->Tag());
      refreshFromFields();
    });
    panels_[i] = panel;
  }
}

void TFormMainPralix::CreateStatusStrip() {
  // The release's major and minor numbers, as in "PRALIX   r10.2".
  const QString release = QStringLiteral(PRALIX_VERSION).section(u'.', 0, 1);
  Panel12 = new QLabel(QStringLiteral("PRALIX   r") + release, this);
  Panel12->setObjectName(QStringLiteral("Panel12"));
  Panel12->setGeometry(28, 501, 652, 25);
  Panel12->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Right-aligned, so that a long web address at the left does not run into it.
  Panel12->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Panel12->setIndent(10);
  Panel12->setFont(WindowFont("Calibri", 19, true));
  Panel12->setAutoFillBackground(true);
  PaintControl(Panel12);

  LabelWeb = new ClickPanel(QStringLiteral(PRALIX_WEB_ADDRESS), Panel12);
  LabelWeb->setObjectName(QStringLiteral("LabelWeb"));
  LabelWeb->setAutoFillBackground(false);
  QFont font = WindowFont("Calibri", 16);
  font.setUnderline(true);
  LabelWeb->setFont(font);
  QPalette palette = LabelWeb->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  LabelWeb->setPalette(palette);
  LabelWeb->adjustSize();
  LabelWeb->move(10, 2);
  LabelWeb->setOnClick([this] { workstation_.LabelWebClick(); });
}

void TFormMainPralix::refreshFromFields() {
  const MainFields& fields = workstation_.fields();
  for (size_t i = 0; i < kLabelledEdits.size(); ++i) {
    const LabelledEdit& field = fields.*kLabelledEdits[i].field;
    QLineEdit* edit = edits_[i];
    if (edit->text() != field.text) edit->setText(field.text);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, field.red ? kRed : QColor(Qt::black));
    edit->setPalette(palette);
  }

  const QString ports = fields.MemoPorts.join(u'\n');
  if (MemoPorts->toPlainText() != ports) MemoPorts->setPlainText(ports);
  const QString header = fields.MemoHeader.join(u'\n');
  if (MemoHeader->toPlainText() != header) MemoHeader->setPlainText(header);

  if (CBFP->currentIndex() != fields.CBFPIndex) {
    const QSignalBlocker quiet(CBFP);
    CBFP->setCurrentIndex(fields.CBFPIndex);
  }

  // Panel1, Panel3 and Panel0 always show; the others only after a successful test.
  for (ClickPanel* panel : panels_) {
    if (panel->Tag() != 1 && panel->Tag() != 3 && panel->Tag() != 0) panel->setVisible(fields.ActionPanelsVisible);
  }
}

namespace {

// Position of the named edit in kLabelledEdits; -1 for an unknown name.
int EditIndex(const char* name) {
  for (size_t i = 0; i < kLabelledEdits.size(); ++i) {
    if (qstrcmp(kLabelledEdits[i].name, name) == 0) return int(i);
  }
  return -1;
}

}  // namespace

QLineEdit* TFormMainPralix::EditNamed(const char* name) const {
  const int i = EditIndex(name);
  return i < 0 ? nullptr : edits_[size_t(i)];
}

QLabel* TFormMainPralix::EditLabelNamed(const char* name) const {
  const int i = EditIndex(name);
  return i < 0 ? nullptr : editLabels_[size_t(i)];
}

ClickPanel* TFormMainPralix::ActionPanel(int tag) const {
  for (ClickPanel* panel : panels_) {
    if (panel->Tag() == tag) return panel;
  }
  return nullptr;
}

void TFormMainPralix::showEvent(QShowEvent* event) {
  if (!centred_ && screen() != nullptr) {
    centred_ = true;
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
  QWidget::showEvent(event);
}

}  // namespace pralix

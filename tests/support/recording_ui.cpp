#include "recording_ui.h"

namespace pralix::test {

void RecordingUi::showImportantMessage(const QString& caption, const QString& text) {
  calls.push_back({Kind::ImportantMessage, caption, text});
  if (onImportantMessage) onImportantMessage(caption, text);
}

void RecordingUi::showInformation(const QString& text) { calls.push_back({Kind::Information, {}, text}); }

void RecordingUi::showError(const QString& text) { calls.push_back({Kind::Error, {}, text}); }

bool RecordingUi::askPeriod(QDate* from, QDate* to) {
  calls.push_back({Kind::AskPeriod, {}, from->toString(Qt::ISODate) + " " + to->toString(Qt::ISODate)});
  if (periodAnswers.empty()) return false;
  const PeriodAnswer answer = periodAnswers.front();
  periodAnswers.pop_front();
  if (answer.ok) {
    *from = answer.from;
    *to = answer.to;
  }
  return answer.ok;
}

void RecordingUi::requestQuit() {
  ++quitRequests;
  calls.push_back({Kind::Quit, {}, {}});
}

void RecordingUi::repaintMainWindow() { calls.push_back({Kind::Repaint, {}, {}}); }

std::vector<RecordingUi::Call> RecordingUi::callsOf(Kind kind) const {
  std::vector<Call> found;
  for (const Call& call : calls)
    if (call.kind == kind) found.push_back(call);
  return found;
}

int RecordingUi::count(Kind kind) const { return int(callsOf(kind).size()); }

QStringList RecordingUi::importantCaptions() const {
  QStringList captions;
  for (const Call& call : callsOf(Kind::ImportantMessage)) captions << call.caption;
  return captions;
}

QStringList RecordingUi::importantTexts() const {
  QStringList texts;
  for (const Call& call : callsOf(Kind::ImportantMessage)) texts << call.text;
  return texts;
}

}  // namespace pralix::test

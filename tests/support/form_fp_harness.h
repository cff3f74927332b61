#pragma once
// The link owner wired to a scripted printer and a recording user
// interface: the paper dialog, failure texts and the quit request land in
// ui, the wire in port.

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "link/P00_fp.h"
#include "link/P00_fpsend.h"
#include "messages/P00_YellowMsg.h"
#include "recording_mutex.h"
#include "recording_ui.h"
#include "scripted_port.h"

namespace pralix::test {

// A valid reply with the given status bits set, {byte, bit} each.
inline PrinterReply Reply(const QByteArray& data, std::initializer_list<std::pair<int, int>> bits = {}) {
  PrinterReply reply{data};
  for (auto [byte, bit] : bits) reply.status[byte] |= quint8(1 << bit);
  return reply;
}

// No answer at all to a request.
inline constexpr std::nullopt_t kSilence = std::nullopt;

struct FormFPHarness {
  FormFPHarness() {
    SequenceNumber = 0x1F;
    LinkPort = &port;
  }
  ~FormFPHarness() { LinkPort = nullptr; }
  FormFPHarness(const FormFPHarness&) = delete;
  FormFPHarness& operator=(const FormFPHarness&) = delete;

  // The printer's answers to the coming requests, one per written frame, in
  // order; the last one keeps answering.
  void Answer(std::vector<std::optional<PrinterReply>> answers) {
    auto script = std::make_shared<std::vector<std::optional<PrinterReply>>>(std::move(answers));
    auto next = std::make_shared<size_t>(0);
    port.setResponder([script, next](const QByteArray& request) -> ScriptedPort::Response {
      const size_t i = std::min(*next, script->size() - 1);
      ++*next;
      if (!(*script)[i]) return {};
      return {{1, ReplyTo(request, *(*script)[i])}};
    });
  }
  void AnswerAlways(const PrinterReply& reply) { Answer({reply}); }

  // Commands of the frames written so far, and their data.
  std::vector<int> writtenCommands() const {
    std::vector<int> commands;
    for (const QByteArray& frame : port.writes()) commands.push_back(RequestCommand(frame));
    return commands;
  }

  ScriptedPort port;
  RecordingUi ui;
  RecordingMutex mutex;
  YellowMsg yellow{ui, mutex};
  TFormFP fp{ui, yellow};
};

}  // namespace pralix::test

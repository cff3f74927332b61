#include "workstation/model_fingerprint.h"

#include <algorithm>
#include <cstring>

#include "workstation/model_catalogue.h"
#include "workstation/model_profile.h"

namespace pralix {

namespace {

// Firmware letters by market, as the known firmware versions carry them.
const char* MarketLetters(const char* market) {
  static const char* const kLetters[][2] = {
      {"SRB", "SR"}, {"MNE", "CG"}, {"MKD", "MK"}, {"BUG", "BG"}, {"MLW", "MW"}};
  for (const auto& row : kLetters)
    if (std::strcmp(row[0], market) == 0) return row[1];
  return "";
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

QByteArray FieldOf(const QList<QByteArray>& fields, int index) {
  return index >= 0 && index < fields.size() ? fields[index] : QByteArray();
}

// The serial as the test reads it for the model, before any correction.
QByteArray SerialOf(int model, const QList<QByteArray>& fields) {
  switch (ProfileOf(model).serial) {
    case SerialSource::Reader: return FieldOf(fields, 4);
    case SerialSource::Cmd90Field3: return FieldOf(fields, 3);
    case SerialSource::Cmd90Field4Chars3To10: return FieldOf(fields, 4).mid(2, 8);
    case SerialSource::Cmd90Field5AsAC: return FieldOf(fields, 5).mid(5, 6);
  }
  return {};
}

struct Score {
  int model;
  int contradictions = 0;
  int fits = 0;
};

}  // namespace

QByteArray FirmwareLetters(const QByteArray& version) {
  // d.ddLL: a version with two decimals, then the letters.
  if (version.size() < 6 || !IsDigit(version[0]) || version[1] != '.' || !IsDigit(version[2]) ||
      !IsDigit(version[3]) || !IsCapital(version[4]) || !IsCapital(version[5]))
    return {};
  return version.mid(4, 2);
}

Evidence FirmwareEvidence(int model, const QList<QByteArray>& fields) {
  const QByteArray version = FieldOf(fields, ProfileOf(model).firmwareFirstField);
  if (version.isEmpty()) return Evidence::Unknown;
  return FirmwareLetters(version) == MarketLetters(ModelCatalogue[size_t(model)].market) ? Evidence::Fits
                                                                                         : Evidence::Contradicts;
}

Evidence SerialEvidence(int model, const QList<QByteArray>& fields) {
  const QByteArray serial = SerialOf(model, fields);
  if (ProfileOf(model).serial == SerialSource::Cmd90Field5AsAC) {
    if (FieldOf(fields, 5).isEmpty()) return Evidence::Unknown;
    const bool sixDigits = serial.size() == 6 && std::all_of(serial.begin(), serial.end(), IsDigit);
    return sixDigits ? Evidence::Fits : Evidence::Contradicts;
  }
  if (serial.isEmpty()) return Evidence::Unknown;
  return ModelCodeOfSerialBytes(serial) == ModelCatalogue[size_t(model)].code ? Evidence::Fits
                                                                              : Evidence::Contradicts;
}

std::vector<int> RankModels(qint32 baud, const std::optional<QByteArray>& deviceInfo) {
  const QList<QByteArray> fields = deviceInfo ? deviceInfo->split(',') : QList<QByteArray>();
  std::vector<Score> scores;
  for (int model = 0; model < int(ModelCatalogue.size()); ++model) {
    if (ModelCatalogue[size_t(model)].baud != baud) continue;
    Score s{model};
    if (deviceInfo) {
      for (const Evidence e : {FirmwareEvidence(model, fields), SerialEvidence(model, fields)}) {
        if (e == Evidence::Contradicts) ++s.contradictions;
        if (e == Evidence::Fits) ++s.fits;
      }
    }
    scores.push_back(s);
  }
  std::stable_sort(scores.begin(), scores.end(), [](const Score& a, const Score& b) {
    return a.contradictions != b.contradictions ? a.contradictions < b.contradictions : a.fits > b.fits;
  });
  std::vector<int> best;
  for (const Score& s : scores)
    if (s.contradictions == scores.front().contradictions && s.fits == scores.front().fits) best.push_back(s.model);
  return best;
}

}  // namespace pralix

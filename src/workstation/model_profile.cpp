#include "workstation/model_profile.h"

#include <array>

namespace pralix {

namespace {

using SS = SerialSource;
using SC = SerialCorrection;
using PS = PibSource;
using AS = ArticleSource;
using TS = TaxSource;

constexpr ModelProfile kSerbian = {SS::Reader, SC::SerbianPrefixCheck, PS::Reader, 0, AS::Reader, TS::Reader, true, "2", "0A"};

constexpr std::array<ModelProfile, 16> kProfiles = {{
    kSerbian, kSerbian, kSerbian, kSerbian, kSerbian, kSerbian, kSerbian, kSerbian,
    /* 8  VG-550  */ {SS::Reader, SC::VgPrefix, PS::ReaderZeroPlus8, 0, AS::Reader, TS::Cmd83Field2, false, "2", "0a"},
    /* 9  VG-700  */ {SS::Reader, SC::None, PS::ReaderZeroPlus8, 1, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
    /* 10 VG-1000 */ {SS::Cmd90Field3, SC::None, PS::ReaderZeroPlus8, 0, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
    /* 11 FP-2    */ {SS::Reader, SC::None, PS::ReaderZeroPlus8, 0, AS::Reader, TS::Cmd83Field2, false, "2", "0"},
    /* 12 PF-550  */ {SS::Cmd90Field5AsAC, SC::None, PS::Cmd99Field0Chars5To13, 1, AS::Reader, TS::Cmd83Field3, false, "3", "1"},
    /* 13 PF-700  */ {SS::Cmd90Field5AsAC, SC::None, PS::Cmd99Field0Chars5To13, 1, AS::Reader, TS::Cmd83Field3, false, "3", "1"},
    /* 14 BUG     */ {SS::Reader, SC::None, PS::Reader, 1, AS::Reader, TS::Reader, false, "2", "0"},
    /* 15 MLW     */ {SS::Cmd90Field4Chars3To10, SC::None, PS::ReaderZeroPlus8, 1, AS::Cmd107Field1, TS::Cmd83Field2, false, "2", "0"},
}};

constexpr ModelProfile kOtherModel = {SS::Reader, SC::None, PS::Reader, 0, AS::Reader, TS::Reader, false, "2", "0"};
// The Z report's choice is "7 or less", which takes in indices below 0 too.
constexpr ModelProfile kBelowRange = {SS::Reader, SC::None, PS::Reader, 0, AS::Reader, TS::Reader, false, "2", "0A"};

}  // namespace

const ModelProfile& ProfileOf(int modelIndex) {
  if (modelIndex < 0) return kBelowRange;
  if (modelIndex >= int(kProfiles.size())) return kOtherModel;
  return kProfiles[modelIndex];
}

}  // namespace pralix

#pragma once
// The period dialog's rule, apart from drawing: From may not be after To.

namespace pralix {

inline constexpr char kInvertedPeriodMessage[] =
    "Od / From mora biti manje ili jednako od Do / To !\n\nOd / From must be less or equal than Do / To !";

}  // namespace pralix

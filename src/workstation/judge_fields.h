#pragma once
// Marks implausible values of a finished test red.

#include "workstation/main_fields.h"

namespace pralix {

// Applies the eight plausibility rules to the field texts (and ModelIndex for
// the tax pattern).  Only sets red marks; never clears one.
void JudgeFields(MainFields& fields);

}  // namespace pralix

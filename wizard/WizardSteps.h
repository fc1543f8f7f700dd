#pragma once

#include <array>
#include <optional>
#include <string>

namespace wizard {

// A new installation is brought into use in this order.
enum class WizardStep { Accounts = 0, Users = 1, Printers = 2, Physicians = 3 };
constexpr int kWizardSteps = 4;
using StepMarks = std::array<bool, kWizardSteps>;

// One batch that tells which steps are done: for each step a SELECT of its table, stopped at the
// first row by SET ROWCOUNT 1; the built-in rows (account -1, users 1 and 2, physicians 0 and -1)
// never count.
std::string StepCompletionBatch();

// Runs the batch and walks its result sets in order; a set that returns a row marks its step done
// (an empty set still counts as a set). nullopt when any read of the batch failed (the error was
// shown).
std::optional<StepMarks> ReadStepMarks();

// True when version is above minimum, compared number by number ("10.0.0" is above "4.0.0"); a
// missing part counts as 0 and anything after the digits of a part is ignored.
bool VersionAbove(const std::string& version, const std::string& minimum);

} // namespace wizard

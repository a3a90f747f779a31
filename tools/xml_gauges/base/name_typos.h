// When a name is probably a misspelling of another: the one rule behind every
// "did you mean" of the gauge library and the panel tool.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorlanex::gauges {

// Whether `name`, which is not `known`, differs from it only in case, or by at
// most two single-character edits besides case (one for names of 4 to 7
// characters, none for shorter ones). Panel variables are told apart by case,
// so a difference in case alone is another variable, and almost always a
// mistake: the nearest typo there is.
bool isProbableTypo(const std::string& name, const std::string& known);

// The nearest of `known` that `name` is a probable typo of (a difference of
// case alone first, then the fewest edits besides case, then the fewest in
// all, then the first); nullptr when none is, or when `name` is one of them.
const std::string* probableTypoOf(const std::string& name, const std::vector<std::string>& known);

// How many single-character edits turn `a` into `b` (Levenshtein distance).
std::size_t editDistance(const std::string& a, const std::string& b);

}  // namespace vorlanex::gauges

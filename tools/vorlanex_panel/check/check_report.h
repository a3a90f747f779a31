// check's output: a table and problem lines for people, JSON for machines.
#pragma once

#include <string>

#include "check.h"

namespace vorlanex::tool {

std::string checkText(const CheckResult& result);
std::string checkJson(const CheckResult& result);

}  // namespace vorlanex::tool

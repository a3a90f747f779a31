#include "request_guard.h"

#include <string>

#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {
namespace {

constexpr std::string_view kStatePath = "/api/state";

// Compares every byte whatever the first difference, so the time taken
// tells nothing of how much of a guess was right.
bool sameToken(std::string_view given, std::string_view token) {
  if (given.size() != token.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < token.size(); ++i) {
    difference |= static_cast<unsigned char>(given[i] ^ token[i]);
  }
  return difference == 0;
}

}  // namespace

std::string_view targetPath(std::string_view target) {
  return target.substr(0, target.find('?'));
}

std::string_view queryValue(std::string_view target, std::string_view name) {
  const std::size_t question = target.find('?');
  if (question == std::string_view::npos) return {};
  std::string_view query = target.substr(question + 1);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && pair.substr(0, equals) == name) {
      return pair.substr(equals + 1);
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return {};
}

// "127.0.0.1", "localhost", either with ":PORT" of this server.
bool RequestGuard::loopbackAuthority(std::string_view authority) const {
  std::string_view name = authority;
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos) {
    name = authority.substr(0, colon);
    if (authority.substr(colon + 1) != std::to_string(port_)) return false;
  }
  return name == "127.0.0.1" || platform::equalNoCase(name, "localhost");
}

std::string RequestGuard::refusal(const RequestFacts& request) const {
  if (!sameToken(queryValue(request.target, "token"), token_)) {
    return "the request does not carry this run's token";
  }
  if (!loopbackAuthority(request.host)) return "the Host header names neither 127.0.0.1 nor localhost";
  if (!request.origin.empty()) {
    constexpr std::string_view kScheme = "http://";
    if (request.origin.substr(0, kScheme.size()) != kScheme ||
        !loopbackAuthority(request.origin.substr(kScheme.size()))) {
      return "the request comes from a page of another site";
    }
  }
  const std::string_view path = targetPath(request.target);
  const bool action = path.substr(0, 5) == "/api/" && path != kStatePath;
  if (action && request.method != "POST") return "actions are POST only";
  if (!action && request.method != "GET") return "pages and the state are read with GET";
  return {};
}

}  // namespace vorlanex::tool

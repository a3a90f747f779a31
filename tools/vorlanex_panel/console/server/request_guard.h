// The console's rules for every request, kept apart from the server so they
// read in one place: a page of another site, or one reached through a DNS
// name that was rebound to the loopback address, cannot drive the panel.
#pragma once

#include <string>
#include <string_view>

namespace vorlanex::tool {

// What the rules look at in a request.
struct RequestFacts {
  std::string_view method;  // "GET", "POST", ...
  std::string_view target;  // path and query: "/api/action?token=..."
  std::string_view host;    // the Host header, empty when missing
  std::string_view origin;  // the Origin header, empty when missing
};

// The path of a target, without its query.
std::string_view targetPath(std::string_view target);
// The value of `name` in the target's query ("" when absent), undecoded: the
// console's own parameters are plain digits and hex letters.
std::string_view queryValue(std::string_view target, std::string_view name);

class RequestGuard {
 public:
  RequestGuard(std::string token, unsigned short port) : token_(std::move(token)), port_(port) {}

  // Why the request must be refused with 403, or empty when it may go on:
  // the run's token in the query, a Host naming 127.0.0.1 or localhost (on
  // this port when it names one), an Origin, when sent, of this very server,
  // and POST for whatever changes something (every path under /api/ but the
  // state, which GET reads).
  std::string refusal(const RequestFacts& request) const;

  unsigned short port() const { return port_; }

 private:
  bool loopbackAuthority(std::string_view authority) const;

  std::string token_;
  unsigned short port_;
};

}  // namespace vorlanex::tool

// The console's HTTP server: Boost.Beast over Asio on 127.0.0.1 only, one
// thread per connection. It serves the page built into the tool, the state
// after each frame (a long poll) and the page's actions, which it only
// queues for the frame loop.
#pragma once

#include <memory>
#include <string>

#include "console_session.h"

namespace vorlanex::tool {

class ConsoleServer {
 public:
  // Listens on 127.0.0.1:`port` (0: a free port); throws std::runtime_error
  // when it cannot.
  ConsoleServer(ConsoleSession& session, std::string token, unsigned short port);
  ~ConsoleServer();
  ConsoleServer(const ConsoleServer&) = delete;
  ConsoleServer& operator=(const ConsoleServer&) = delete;

  unsigned short port() const;
  // The page's address, with the token.
  std::string address() const;
  // Stops accepting, closes every connection and waits for their threads.
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vorlanex::tool

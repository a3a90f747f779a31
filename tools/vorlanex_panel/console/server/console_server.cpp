#include "console_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <list>
#include <thread>

#include "address_reuse.h"
#include "drawing_fonts.h"
#include "page_actions.h"
#include "page_files.h"
#include "request_guard.h"

namespace vorlanex::tool {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;
using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;

// A long poll answers within this time even when no frame comes.
constexpr std::chrono::milliseconds kPollLimit{1000};
// The page and the actions are small: a larger request is no page's.
constexpr std::uint64_t kBodyLimit = 64 * 1024;
// Connections served at once.
constexpr std::size_t kConnectionLimit = 32;
// Where the page's files name the token.
constexpr std::string_view kTokenMark = "__TOKEN__";

Response answer(const Request& request, http::status status, std::string_view type,
                std::string body) {
  Response response{status, request.version()};
  response.set(http::field::content_type, std::string(type));
  response.set(http::field::cache_control, "no-store");
  response.set("X-Content-Type-Options", "nosniff");
  // The token is in the address: no other site learns it from a link.
  response.set("Referrer-Policy", "no-referrer");
  response.set("Content-Security-Policy",
               "default-src 'self'; img-src 'self' data:; connect-src 'self'; "
               "frame-ancestors 'none'");
  response.keep_alive(request.keep_alive());
  response.body() = std::move(body);
  response.prepare_payload();
  return response;
}

Response text(const Request& request, http::status status, std::string body) {
  return answer(request, status, "text/plain; charset=utf-8", std::move(body) + "\n");
}

}  // namespace

std::string_view contentTypeOf(std::string_view path) {
  auto endsWith = [&](std::string_view end) {
    return path.size() >= end.size() && path.substr(path.size() - end.size()) == end;
  };
  if (endsWith(".html")) return "text/html; charset=utf-8";
  if (endsWith(".css")) return "text/css; charset=utf-8";
  if (endsWith(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

struct ConsoleServer::Impl {
  Impl(ConsoleSession& s, std::string t, unsigned short port)
      : session(s),
        token(std::move(t)),
        acceptor(context, tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), port),
                 reuseListeningAddress()),
        guard(token, acceptor.local_endpoint().port()) {}

  struct Connection {
    explicit Connection(tcp::socket s) : socket(std::move(s)) {}
    tcp::socket socket;
    std::thread thread;
    bool done = false;  // its thread has finished; joined at the next accept
  };

  void acceptLoop();
  void joinFinished();
  void serve(Connection& connection);
  Response handle(const Request& request);

  ConsoleSession& session;
  std::string token;
  asio::io_context context;
  tcp::acceptor acceptor;
  RequestGuard guard;
  std::thread acceptor_thread;
  std::mutex mutex;
  bool stopping = false;
  std::list<Connection> connections;  // closed by stop()
};

ConsoleServer::ConsoleServer(ConsoleSession& session, std::string token, unsigned short port) {
  try {
    impl_ = std::make_unique<Impl>(session, std::move(token), port);
  } catch (const boost::system::system_error& e) {
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                             e.code().message());
  }
  impl_->acceptor_thread = std::thread([this] { impl_->acceptLoop(); });
}

ConsoleServer::~ConsoleServer() { stop(); }

unsigned short ConsoleServer::port() const { return impl_->guard.port(); }

std::string ConsoleServer::address() const {
  return "http://127.0.0.1:" + std::to_string(port()) + "/index.html?token=" + impl_->token;
}

void ConsoleServer::stop() {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (impl_->stopping) return;
    impl_->stopping = true;
    boost::system::error_code ignored;
    // Wakes the threads blocked reading their connections: shutting a
    // socket down does on Linux, closing it does on Windows.
    for (Impl::Connection& connection : impl_->connections) {
      if (!connection.socket.is_open()) continue;
      connection.socket.shutdown(tcp::socket::shutdown_both, ignored);
      connection.socket.close(ignored);
    }
  }
  // Closing a listening socket does not wake an accept blocked on it
  // everywhere: a connection of our own does.
  {
    boost::system::error_code ignored;
    tcp::socket wake(impl_->context);
    wake.connect(impl_->acceptor.local_endpoint(), ignored);
  }
  if (impl_->acceptor_thread.joinable()) impl_->acceptor_thread.join();
  boost::system::error_code ignored;
  impl_->acceptor.close(ignored);
  for (Impl::Connection& connection : impl_->connections) connection.thread.join();
}

void ConsoleServer::Impl::acceptLoop() {
  for (;;) {
    boost::system::error_code error;
    tcp::socket socket(context);
    acceptor.accept(socket, error);
    std::lock_guard<std::mutex> lock(mutex);
    if (stopping) return;
    joinFinished();
    // A browser keeps a few connections; more than this is no page's.
    if (error || connections.size() >= kConnectionLimit) continue;
    Connection& connection = connections.emplace_back(std::move(socket));
    connection.thread = std::thread([this, &connection] { serve(connection); });
  }
}

// Under the lock: the threads of connections that have ended.
void ConsoleServer::Impl::joinFinished() {
  for (auto it = connections.begin(); it != connections.end();) {
    if (!it->done) {
      ++it;
      continue;
    }
    it->thread.join();
    it = connections.erase(it);
  }
}

void ConsoleServer::Impl::serve(Connection& connection) {
  tcp::socket& socket = connection.socket;
  boost::beast::flat_buffer buffer;
  for (;;) {
    http::request_parser<http::string_body> parser;
    parser.body_limit(kBodyLimit);
    boost::system::error_code error;
    http::read(socket, buffer, parser, error);
    if (error) break;
    const Request& request = parser.get();
    Response response = handle(request);
    http::write(socket, response, error);
    if (error || !response.keep_alive()) break;
  }
  std::lock_guard<std::mutex> lock(mutex);
  boost::system::error_code ignored;
  socket.shutdown(tcp::socket::shutdown_both, ignored);
  socket.close(ignored);
  connection.done = true;
}

Response ConsoleServer::Impl::handle(const Request& request) {
  const std::string_view target(request.target().data(), request.target().size());
  const std::string refusal = guard.refusal(
      {std::string_view(request.method_string().data(), request.method_string().size()), target,
       std::string_view(request[http::field::host].data(), request[http::field::host].size()),
       std::string_view(request[http::field::origin].data(), request[http::field::origin].size())});
  if (!refusal.empty()) return text(request, http::status::forbidden, refusal);

  const std::string_view path = targetPath(target);
  if (path == "/api/state") {
    long long after = -1;
    const std::string_view given = queryValue(target, "after");
    if (!given.empty()) after = std::atoll(std::string(given).c_str());
    std::string state = session.stateAfter(after, kPollLimit);
    if (state.empty()) return text(request, http::status::gone, "the console has ended");
    return answer(request, http::status::ok, "application/json", std::move(state));
  }
  if (path == "/api/action") {
    const ActionAnswer result = session.act(request.body());
    return text(request, static_cast<http::status>(result.status), result.body);
  }
  if (path == "/api/command") {
    std::string refusal;
    const std::optional<std::int32_t> value = readCommandValue(request.body(), refusal);
    if (!value) return text(request, http::status::bad_request, refusal);
    return text(request, http::status::ok, std::to_string(*value));
  }
  if (path == "/api/script") {
    return answer(request, http::status::ok, "text/plain; charset=utf-8", session.script());
  }
  if (path == "/gauge-image") {
    // By the image's index in the display lists: a request never names a file.
    const std::string_view given = queryValue(target, "image");
    GaugeView* gauges = session.gauges();
    const bool digits = !given.empty() && given.size() < 6 &&
                        given.find_first_not_of("0123456789") == std::string_view::npos;
    std::optional<std::string> png;
    if (gauges && digits) png = gauges->imagePng(static_cast<std::size_t>(std::atoll(std::string(given).c_str())));
    if (!png) return text(request, http::status::not_found, "no such gauge image");
    return answer(request, http::status::ok, "image/png", std::move(*png));
  }
  if (path == "/font") {
    // The fonts `snapshot` draws texts with, so the page's texts are alike.
    const std::string_view font = gauges::drawingFontFile(queryValue(target, "fixed") == "1");
    return answer(request, http::status::ok, "font/ttf", std::string(font));
  }
  if (const PageFile* file = findPageFile(path)) {
    std::string body(file->text());
    // The page's own addresses carry the token too.
    for (std::size_t at = 0; (at = body.find(kTokenMark, at)) != std::string::npos;) {
      body.replace(at, kTokenMark.size(), token);
    }
    return answer(request, http::status::ok, contentTypeOf(path), std::move(body));
  }
  return text(request, http::status::not_found, "no such page");
}

}  // namespace vorlanex::tool

#include "calc/office_connection.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cstdlib>
#include <map>
#include <thread>
#include <vector>

extern char** environ;

namespace harumado::calc {
namespace {

constexpr int kPipePollMs = 100;
constexpr int kAfterLauncherMs = 5000;

// The local side of the bridges. The UNO runtime finds its own libraries and types through the
// bootstrap file of LibreOffice's program folder. Made on first use and never destroyed (at exit
// the UNO runtime may be gone already); disposed by CloseOfficeConnections.
struct LocalRuntime {
  Reference<css::uno::XComponentContext> context;
  bool closed = false;
};
LocalRuntime& Runtime() {
  static auto* runtime = new LocalRuntime();
  return *runtime;
}
Reference<css::uno::XComponentContext> LocalContext() {
  auto& runtime = Runtime();
  if (!runtime.context.is()) {
    setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" HARUMADO_LO_PROGRAM_DIR "/fundamentalrc", 0);
    runtime.context = Uno([] { return cppu::defaultBootstrap_InitialComponentContext(); });
  }
  return runtime.context;
}

// One bridge per pipe for the whole process: every object reached over the pipe shares it, and
// a bridge that LibreOffice closed (it ended) is replaced by a new connection. (A bridge of its
// own for each lookup made LibreOffice drop bridges that were in use when several came and
// went at once.) Never destroyed, as the local context is not.
std::map<std::string, Reference<css::uno::XComponentContext>>& Bridges() {
  static auto* bridges = new std::map<std::string, Reference<css::uno::XComponentContext>>();
  return *bridges;
}

bool Answers(const Reference<css::uno::XComponentContext>& context) {
  try {
    return context->getServiceManager().is();
  } catch (const css::uno::RuntimeException&) {
    return false;  // DisposedException among them: the bridge is closed
  }
}

}  // namespace

Reference<css::uno::XComponentContext> ConnectToPipe(const std::string& pipe_name) {
  if (Runtime().closed) return {};
  auto& bridges = Bridges();
  if (auto known = bridges.find(pipe_name); known != bridges.end()) {
    if (Answers(known->second)) return known->second;
    bridges.erase(known);
  }
  const auto local = LocalContext();
  const rtl::OUString url = "uno:pipe,name=" + rtl::OUString::createFromAscii(pipe_name.c_str()) +
                            ";urp;StarOffice.ComponentContext";
  try {
    const auto resolver = css::bridge::UnoUrlResolver::create(local);
    Reference<css::uno::XComponentContext> context(resolver->resolve(url),
                                                   css::uno::UNO_QUERY_THROW);
    bridges[pipe_name] = context;
    return context;
  } catch (const css::connection::NoConnectException&) {
    return {};
  } catch (const css::uno::RuntimeException&) {
    // A LibreOffice that ends while the connection is made: nothing answers.
    return {};
  } catch (const css::uno::Exception& e) {
    throw ErrorOf(e);
  }
}

void CloseOfficeConnections() {
  auto& runtime = Runtime();
  if (runtime.closed) return;
  runtime.closed = true;
  // The remote contexts go while their bridges still carry the release; then the local context
  // is disposed, and with it its bridge factory, which disposes every bridge it made: each one
  // closes its pipe and ends its threads before the call returns.
  Bridges().clear();
  if (!runtime.context.is()) return;
  try {
    Reference<css::lang::XComponent> component(runtime.context, css::uno::UNO_QUERY);
    if (component.is()) component->dispose();
  } catch (const css::uno::RuntimeException&) {
    // Already disposed, or a bridge that went down with its LibreOffice meanwhile.
  }
}

OfficeConnectionsScope::~OfficeConnectionsScope() { CloseOfficeConnections(); }

std::optional<pid_t> StartOffice(const OfficeLaunch& launch) {
  std::vector<std::string> args{
      launch.program,
      "--norestore",
      "--nologo",
      "--nodefault",
      "--nolockcheck",
      "--accept=pipe,name=" + launch.pipe_name + ";urp;StarOffice.ComponentContext"};
  if (launch.headless) {
    args.emplace_back("--headless");
    args.emplace_back("--invisible");
  }
  if (!launch.profile_url.empty()) args.push_back("-env:UserInstallation=" + launch.profile_url);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = 0;
  const int failed =
      posix_spawn(&pid, launch.program.c_str(), &files, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  if (failed != 0) return std::nullopt;
  return pid;
}

// The pipe is polled: LibreOffice gives no other sign that it has started listening. A
// launcher that ends has handed over to a LibreOffice that ran already (or failed): the pipe
// then gets a few seconds more.
Reference<css::uno::XComponentContext> WaitForPipe(const std::string& pipe_name, pid_t process,
                                                   int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  bool ended = false;
  while (true) {
    if (auto context = ConnectToPipe(pipe_name); context.is()) return context;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return {};
    int status = 0;
    if (!ended && waitpid(process, &status, WNOHANG) == process) {
      ended = true;
      deadline = std::min(deadline, now + std::chrono::milliseconds(kAfterLauncherMs));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kPipePollMs));
  }
}

// An ending LibreOffice stops listening before its process ends; polled, as there is no other
// sign of it.
bool WaitUntilGone(const std::string& pipe_name, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (ConnectToPipe(pipe_name).is()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPipePollMs));
  }
  return true;
}

void ReapEnded(pid_t process) {
  int status = 0;
  waitpid(process, &status, WNOHANG);
}

}  // namespace harumado::calc

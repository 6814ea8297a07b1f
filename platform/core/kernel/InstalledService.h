// A slot for a service that start-up (or a test) installs and the platform calls read. A
// reader takes a shared reference, so a service replaced meanwhile lives until its call ends.
// Service may be const-qualified for services whose calls change nothing.
#pragma once

#include <memory>
#include <mutex>

namespace core {

template <class Service>
class InstalledService {
 public:
  // Constant-initialised, so that a call made while other globals are constructed finds the slot.
  constexpr InstalledService() : state_() {}
  // The slot is never torn down: a static destructor or a thread still running at exit may
  // still ask for the service, and the services made for the whole run stay alive with it.
  ~InstalledService() {}
  InstalledService(const InstalledService&) = delete;
  InstalledService& operator=(const InstalledService&) = delete;

  // Answers the service it replaces.
  std::shared_ptr<Service> Install(std::shared_ptr<Service> service) {
    std::lock_guard<std::mutex> guard(state_.lock);
    state_.service.swap(service);
    return service;
  }

  std::shared_ptr<Service> Current() const {
    std::lock_guard<std::mutex> guard(state_.lock);
    return state_.service;
  }

  // Current(), or while nothing is installed the one Default the process makes on first use,
  // which is never torn down either.
  template <class Default>
  std::shared_ptr<Service> CurrentOrDefault() const {
    if (std::shared_ptr<Service> service = Current()) return service;
    static const std::shared_ptr<Service>* const fallback = new std::shared_ptr<Service>(std::make_shared<Default>());
    return *fallback;
  }

 private:
  struct State {
    mutable std::mutex lock;
    std::shared_ptr<Service> service;
  };
  union {
    State state_;
  };
};

}  // namespace core

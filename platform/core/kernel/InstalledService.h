// A slot for a service that start-up (or a test) installs and the platform calls read. A
// reader takes a shared reference, so a service replaced meanwhile lives until its call ends.
#pragma once

#include <memory>
#include <mutex>

namespace core {

template <class Service>
class InstalledService {
 public:
  void Install(std::shared_ptr<const Service> service) {
    std::lock_guard<std::mutex> guard(lock_);
    service_ = std::move(service);
  }

  std::shared_ptr<const Service> Current() const {
    std::lock_guard<std::mutex> guard(lock_);
    return service_;
  }

 private:
  mutable std::mutex lock_;
  std::shared_ptr<const Service> service_;
};

}  // namespace core

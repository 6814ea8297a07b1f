// The common base of every exception of the foundation library. A class that overrides
// neither text operation reports its class name ("class Namespace::Name").
#pragma once

#include <exception>

#include "foundation/UStringRef.h"

namespace WindowsPlatform {
// Carries nothing here; on the platform it marks exceptions a debugger may inspect.
struct ExceptionDebuggingInfo {};
}  // namespace WindowsPlatform

class DebuggableException : public std::exception, public WindowsPlatform::ExceptionDebuggingInfo {
 public:
  ~DebuggableException() override = default;
  const char* what() const noexcept override;
  virtual UStringRef<UTF8> MessageUtf8() const;

 protected:
  // The class-name text of the object's dynamic class; static for the life of the process.
  UStringRef<UTF8> ClassNameText() const noexcept;
};

// The class-name text of any polymorphic object.
UStringRef<UTF8> ClassNameTextOf(const std::type_info& type) noexcept;

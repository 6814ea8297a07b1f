// An exception that carries a UTF-8 message. what() gives the message in the system's ANSI
// code page, where characters outside it are replaced.
#pragma once

#include "foundation/CopiedUString.h"
#include "foundation/DebuggableException.h"

class ExceptionPL : public DebuggableException {
 public:
  explicit ExceptionPL(UStringRef<UTF8> message);
  // Narrow text in the system's ANSI code page; a null pointer is an empty message.
  explicit ExceptionPL(const char* narrowMessage);
  ExceptionPL(const ExceptionPL& other);
  ExceptionPL& operator=(const ExceptionPL& other);
  ~ExceptionPL() override = default;

  const char* what() const noexcept override;
  UStringRef<UTF8> MessageUtf8() const override;

 private:
  CopiedUString<UTF8> message_;
  mutable CopiedUString<UTF8> whatText_;
};

// An ExceptionPL whose message was taken from a caught std::exception.
class CopiedStdException : public ExceptionPL {
 public:
  using ExceptionPL::ExceptionPL;
};

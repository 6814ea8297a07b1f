// Holders that keep a caught exception for a later rethrow, and the process-wide list of
// capturers that turn the exception being handled into such a holder.
#pragma once

#include <exception>
#include <memory>
#include <vector>

#include "foundation/ExceptionPL.h"
#include "foundation/WindowsError.h"

class CaughtException {
 public:
  virtual ~CaughtException() = default;
  // Throws a copy of the held exception.
  [[noreturn]] virtual void Rethrow() const = 0;
  virtual const char* What() const = 0;
  virtual UStringRef<UTF8> MessageUtf8() const = 0;
};

template <class T>
class CaughtExceptionOfType;

// Keeps only the text: the rethrown object is a CopiedStdException, no longer of the class
// that was caught.
template <>
class CaughtExceptionOfType<std::exception> : public CaughtException {
 public:
  explicit CaughtExceptionOfType(const std::exception& caught) : held_(caught.what()) {}
  [[noreturn]] void Rethrow() const override { throw held_; }
  const char* What() const override { return held_.what(); }
  UStringRef<UTF8> MessageUtf8() const override { return held_.MessageUtf8(); }

 private:
  CopiedStdException held_;
};

// Keeps the code and the module; the texts are built again on request.
template <>
class CaughtExceptionOfType<Windows::Error> : public CaughtException {
 public:
  explicit CaughtExceptionOfType(const Windows::Error& caught) : held_(caught) {}
  [[noreturn]] void Rethrow() const override { throw held_; }
  const char* What() const override { return held_.what(); }
  UStringRef<UTF8> MessageUtf8() const override { return held_.MessageUtf8(); }

 private:
  Windows::Error held_;
};

// Called while an exception is being handled: rethrows it and returns a holder for the
// types it knows. Any other exception leaves the capturer.
using ExceptionCapturer = std::unique_ptr<CaughtException> (*)();

// Appends the capturer to the process-wide list unless it is there already. The capturers of
// std::exception and Windows::Error are registered at start-up, in that order.
void RegisterExceptionCapturer(ExceptionCapturer capturer);

// A snapshot of the list, in registration order.
std::vector<ExceptionCapturer> RegisteredExceptionCapturers();

std::unique_ptr<CaughtException> CaptureStdException();
std::unique_ptr<CaughtException> CaptureWindowsError();

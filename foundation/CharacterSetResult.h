// Character-set conversion failures: an ICU status, a conversion failure, and a failure
// reported by the platform's own converters. Descriptions are user-visible text.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/DebuggableException.h"

class ICUResult : public DebuggableException {
 public:
  explicit ICUResult(std::int32_t status, const char* operation = nullptr);
  const char* what() const noexcept override;
  UStringRef<UTF8> MessageUtf8() const override;
  virtual bool Succeeded() const;
  virtual std::uint32_t Code() const;
  virtual std::string CodeName() const;
  virtual std::string Describe() const;

 protected:
  std::int32_t status_;
  std::string operation_;

 private:
  mutable std::string describedText_;
};

class CharacterSetResult : public ICUResult {
 public:
  explicit CharacterSetResult(std::int32_t status, const char* operation = nullptr);
  const char* what() const noexcept override;
  std::string Describe() const override;

 protected:
  std::string context_;
  std::string quoted_;
  mutable std::string describedText_;
};

class WindowsCharacterSetResult : public CharacterSetResult {
 public:
  WindowsCharacterSetResult(std::uint32_t windowsCode, const char* operation);
  bool Succeeded() const override;
  std::uint32_t Code() const override;
  std::string CodeName() const override;
  std::string Describe() const override;

 private:
  std::uint32_t windowsCode_;
};

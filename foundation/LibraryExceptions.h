// The foundation's exception classes that carry no data: each reports its class name.
#pragma once

#include "foundation/DebuggableException.h"

namespace Windows {
class RegistryValueIsEmpty : public DebuggableException {};
class WrongRegistryType : public DebuggableException {};
}  // namespace Windows

// Streams and filters.
class NoMoreData : public DebuggableException {};
class DataOverflow : public DebuggableException {};

// Named-variable formatting.
class ConstDataCapacityExceeded : public DebuggableException {};
class BadFormatStringError : public DebuggableException {};
class TooManyFormatArguments : public DebuggableException {};
class TooFewFormatArguments : public DebuggableException {};
class ImproperFormatVariableName : public DebuggableException {};
class UndefinedFormatVariable : public DebuggableException {};
class FormatOverrideNotFound : public DebuggableException {};

// File names.
class IllegalFileName : public DebuggableException {};
class IllegalFileNameReserved : public DebuggableException {};

// Releasing a platform text buffer failed; deliberately outside the hierarchy.
class LocalFreeFailed {};

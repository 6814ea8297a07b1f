#include "foundation/FormatTokenizer.h"

#include "foundation/LibraryExceptions.h"

void FormatTokenizer::ThrowUnclosed() { throw BadFormatStringError(); }

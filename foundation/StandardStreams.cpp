#include "foundation/StandardStreams.h"

namespace {
constinit EmptyDataReader emptyDataReader;
constinit DataFilter identityFilter;
constinit IgnoreDataReceiver ignoreDataReceiver;
}  // namespace

EmptyDataReader& TheEmptyDataReader() { return emptyDataReader; }
DataFilter& TheIdentityFilter() { return identityFilter; }
IgnoreDataReceiver& TheIgnoreDataReceiver() { return ignoreDataReceiver; }

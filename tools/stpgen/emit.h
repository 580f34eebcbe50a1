// Writing the C++ of one side of an interface: the class
// <Interface>_<side>_Impl, derived from STPSpecClass, with a send stub per
// message the peer receives, a parser for the messages this side receives,
// and one virtual msg_<Name> handler per received message.
#pragma once

#include <string>

#include "tools/stpgen/description.h"

namespace stpgen {

std::string className(const Interface& iface, const Side& side);

// The header and the source of `side`.  `source` names the description in
// the opening comment; `includeDir` is the folder the header is included
// from ("services/interfaces").
std::string emitHeader(const Interface& iface, const Side& side, const std::string& source);
std::string emitSource(const Interface& iface, const Side& side, const std::string& source,
                       const std::string& includeDir);

}  // namespace stpgen

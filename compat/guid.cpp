#include "compat/guid.h"

#include <cstdio>

namespace compat {

std::string GuidToString(const GUID& G) {
  char Buf[39];
  std::snprintf(Buf, sizeof Buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(G.Data1), static_cast<unsigned>(G.Data2),
                static_cast<unsigned>(G.Data3), G.Data4[0], G.Data4[1], G.Data4[2], G.Data4[3],
                G.Data4[4], G.Data4[5], G.Data4[6], G.Data4[7]);
  return Buf;
}

}  // namespace compat

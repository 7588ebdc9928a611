// pugixml built in its wide-character mode: the UTF-8 bytes are converted to wchar_t text while
// loading, as the framework's parser does.
#pragma once

#include <cstddef>

#include "XmlCounts.h"

// Loads `bytes`; false when they do not parse.
bool PugixmlWideLoad(const char* bytes, size_t count);
// Loads `bytes` and reads every element name, attribute name and value in full.
bool PugixmlWideLoadAndRead(const char* bytes, size_t count, XmlCounts& counts);

#include "codec/LineList.h"

namespace tabulon {
template class BasicLineList<char>;
template class BasicLineList<wchar_t>;
} // namespace tabulon

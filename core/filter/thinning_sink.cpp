#include "core/filter/thinning_sink.h"

#include "core/filter/record_scanner_inl.h"

namespace habuki {

// The record loop for this sink, for both ways of reading a text: the loop is instantiated where
// each sink lives, so that it knows none of them (RecordScanner::Run makes the thinned result
// with it).
template void RecordScanner<char>::Walk(ThinningSink<char>&);
template void RecordScanner<char16_t>::Walk(ThinningSink<char16_t>&);

}  // namespace habuki

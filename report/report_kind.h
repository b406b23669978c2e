#pragma once

namespace habuki {

// What the command makes of each file: the thinned text, or its parameters as a table.
enum class ExportKind { Thinned, Csv, Json, Xlsx };

// How `habuki diff` shows the differences.
enum class ReportKind { Text, Csv, Json, Xlsx };

}  // namespace habuki

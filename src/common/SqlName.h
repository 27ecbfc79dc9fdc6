#pragma once

#include <QString>

namespace orve {

// A table or column name for SQL: in double quotes, a quote inside doubled
// ("Tln#" -> "\"Tln#\"").
QString sqlName(const QString& name);

} // namespace orve

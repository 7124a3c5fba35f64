// The simulated machine's string tables, generated at build time from the
// program's resource scripts (setup/resources/lang/*.rc) by
// setup/resources/string_tables.py: one table per ANSI code page, keyed by
// string id, each text in that code page's bytes (GBK for 936).
#ifndef LUMAVIEW_SETUP_SIMULATED_STRING_TABLES_H
#define LUMAVIEW_SETUP_SIMULATED_STRING_TABLES_H

#include <map>
#include <string>

namespace setup::simulated {

std::map<unsigned, std::map<int, std::string>> GeneratedStringTables();

}  // namespace setup::simulated

#endif

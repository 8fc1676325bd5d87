// How the report quotes texts: a file's content, the report window's and the console's, each line
// indented and escaped so that no line of it can pass for a line of the report, and a file read
// only up to the bound hostsim reads its inputs to.
#pragma once

#include "fileio/Entry.h"
#include "fileio/Rules.h"

#include <ostream>
#include <string>
#include <string_view>

namespace hostsim {

// Each line of `text` after `margin`, escaped (a TAB and the line break ending it aside), and
// ended, the last one too.
void writeLines(std::ostream& report, std::string_view text, std::string_view margin);

// The file's `name` quoted two spaces in, and the content of `file` below it, four spaces in, read
// through the file layer (fileio::readWhole, taking the entries of `owners`): "missing" after the
// name for a file that does not exist, and a note instead of the content for one that cannot be
// read, that the file rules refuse or that holds more than inputFileLimit bytes. Throws
// ScenarioError after `context` for a file that is not a regular one (a FIFO would keep hostsim
// waiting).
void writeFileContent(std::ostream& report, const std::string& name, const fileio::Entry& file,
                      const std::string& context, fileio::Owners owners = fileio::Owners::player);

} // namespace hostsim

#include "FileContent.h"

#include "HostProgram.h"
#include "ScenarioInput.h"

#include "fileio/ReadWhole.h"

#include <sys/stat.h>

namespace hostsim {

void writeLines(std::ostream& report, std::string_view text, std::string_view margin) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        report << margin << sim::escapedLine(text.substr(0, end)) << '\n';
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
}

void writeFileContent(std::ostream& report, const std::string& name, const fileio::Entry& file,
                      const std::string& context, fileio::Owners owners) {
    const std::string header = "  " + escaped(name);
    std::string text;
    const std::error_code error = fileio::readWhole(file, text, inputFileLimit, owners);
    if (error == std::errc::invalid_argument) {
        struct stat info {};
        const std::string kind =
            file.status(info) && !S_ISREG(info.st_mode) ? fileio::kindOf(info.st_mode) : "";
        throw ScenarioError(context + "the file " + escaped(name) + " is " +
                            (kind.empty() ? "no longer a regular file" : kind + ", not a file"));
    }
    if (error == std::errc::file_too_large) {
        report << header << ": more than the " << (inputFileLimit >> 20)
               << " MiB the report shows of a file, left out\n";
    } else if (error == std::errc::no_such_file_or_directory) {
        report << header << ": missing\n";
    } else if (error) {
        report << header << ": cannot be read, " << error.message() << "\n";
    } else {
        report << header << ":\n";
        writeLines(report, text, "    ");
    }
}

} // namespace hostsim

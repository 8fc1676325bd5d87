#include "FileContent.h"

#include "HostProgram.h"
#include "ScenarioInput.h"

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

void writeFileContent(std::ostream& report, const std::string& name, const std::filesystem::path& file,
                      const std::string& context) {
    const std::string header = "  " + escaped(name);
    std::string text;
    const std::error_code error = sim::readFile(file, text);
    if (error == std::errc::invalid_argument) {
        const std::string kind = notAFile(file);
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

#include "FileContent.h"

#include "HostProgram.h"
#include "ScenarioInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
    // Opened without waiting, then looked at: a FIFO would block the open or the read.
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    } in{::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat info {};
    if (in.fd < 0 || ::fstat(in.fd, &info) != 0) {
        report << header
               << (errno == ENOENT ? ": missing" : ": cannot be read, " + std::string(std::strerror(errno)))
               << "\n";
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        const std::string kind = notAFile(file);
        throw ScenarioError(context + "the file " + escaped(name) + " is " +
                            (kind.empty() ? "no longer a regular file" : kind + ", not a file"));
    }
    const std::string leftOut = header + ": more than the " + std::to_string(inputFileLimit >> 20) +
                                " MiB the report shows of a file, left out\n";
    if (std::uintmax_t(info.st_size) > inputFileLimit) {
        report << leftOut;
        return;
    }
    // A file that grows as it is read is read only up to the bound.
    std::string text;
    text.reserve(std::size_t(info.st_size));
    char buffer[1 << 16];
    while (text.size() <= inputFileLimit) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            report << header << ": cannot be read, " << std::strerror(errno) << "\n";
            return;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, std::size_t(n));
    }
    if (text.size() > inputFileLimit) {
        report << leftOut;
        return;
    }
    report << header << ":\n";
    writeLines(report, text, "    ");
}

} // namespace hostsim

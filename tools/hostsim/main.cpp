// hostsim SCENARIO [--report FILE] [--sandbox FOLDER], or hostsim --help: plays a scenario against
// add-on bundles in the simulated host and writes what happened. Exit status: 0 played, 1 bad
// arguments, 2 a scenario that cannot be played, 3 a bundle that is missing, is not a regular file
// or does not load, 4 a scenario that played but whose report was not written. Its host's clock stands still
// at 2026-01-05 09:00:00 UTC and its GUIDs follow one fixed sequence, so a scenario's report is the same on
// every run and machine. The help text below and README.md state the same rules.
#include "HostProgram.h"
#include "ReportFile.h"
#include "Sandbox.h"
#include "ScenarioInput.h"

#include "sim/Clock.h"
#include "sim/Output.h"
#include "sim/Sim.h"
#include "sim/TemporaryFolder.h"

#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

namespace {

std::filesystem::path programFolder() {
    std::error_code error;
    // The system's own link to the process's program, which no other user made: read as it is,
    // and without it the working folder's name (getcwd), which names no entry to follow.
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

const char* const usageLine = "usage: hostsim SCENARIO [--report FILE] [--sandbox FOLDER]\n"
                              "       hostsim --help\n";

int usage() {
    std::cerr << usageLine;
    return 1;
}

int help() {
    std::cout << usageLine << R"(
Plays SCENARIO, a JSON file that lists add-on bundles and steps (examples/README.md describes it),
in the simulated host: loads the bundles, plays the steps and prints a report of what happened.

  --report FILE     writes the report to FILE instead of standard output (see "The report file").
  --sandbox FOLDER  the host's folders (Documents, Preferences, SharedData, Temp) lie in FOLDER,
                    made as the host first uses them, and are kept. Without it, hostsim plays in
                    a temporary sandbox and removes it at the end.
  --help            prints this help.

Where hostsim looks for files:
  - Files that a scenario names for hostsim to read (bundles, resource files, project
    descriptions) are looked for beside the scenario, then in hostsim's own folder.
  - hostsim's own folder is the build folder (such as build/default), or DIR/bin once installed
    in DIR.
  - An absolute name is taken as it is.
  - The scenario, its resource files and project descriptions must be regular files (not a
    folder, a FIFO or a device) of at most 64 MiB.
  - A bundle must be a regular file that loads.
  - Another user's file in a folder that other users may write (such as /tmp) is not read or
    loaded: it may have been put there to be taken for the player's.
  - Files the host writes (projects, preference files, files chosen in file dialogs) stay in the
    sandbox.
  - Their names are relative to the sandbox's Documents (a hostFile step's to the folder it
    names), and may not lead out of it, not even through a link whose target does not exist yet.

The sandbox:
  - A relative FOLDER is taken from the working folder.
  - A missing FOLDER is made before anything is played, with any missing folder above it.
  - hostsim refuses (status 1) a FOLDER reached through another user's link in a folder other
    users may write.
  - hostsim refuses (status 1) a FOLDER that users other than its own and root may write in, sticky
    or not: they could put a folder of theirs at the name of one the host makes there.
  - A FOLDER refused leaves none of the folders hostsim made for it: it removes them.
  - hostsim refuses (status 1) a FOLDER that holds another user's entry (a folder, a link, a
    file) at the name of one of the host's folders (such as Preferences or Documents): it does not
    hold this user's files.
  - hostsim refuses (status 1) a FOLDER that holds, at a host folder's name, a link of the
    player's that the host would not follow:
    - to another user's folder, of any mode;
    - through a folder in which other users may rename entries, such as another user's folder.
  - The host holds a folder at each of its folders' names, or where the player's own link there
    leads inside the sandbox.
  - It follows that link only where no other user may rename an entry on its way from the
    sandbox: each later use walks the link again, and must reach the same folder. The folder it
    leads to must be the player's or root's.
  - It holds none where another user's entry (a folder, a link, a file) stands at that name,
    whatever folder holds it, SharedData included.
  - hostsim uses Documents for a project and its embedded library, a file chosen in a file
    dialog and a file of "reportFiles"; a hostFile step uses the folder it names.
  - Where hostsim uses a host folder that the host does not hold, the play ends with status 2.
    What stands at its name is then:
    - a file of the player's;
    - a link of the player's that the host does not follow;
    - another user's entry, put there during the play.
  - Where only the add-on uses one (Preferences, SharedData, Temp), the add-on's calls fail and
    the play goes on. The report names Preferences and SharedData under "preference files:".
  - A host folder removed during the play is made again at its next use.
  - hostsim refuses (status 1) a FOLDER whose parent, or any folder above it, lets a user other
    than its own and root rename entries: that user could exchange it during the play, as in a
    TMPDIR.
  - Without --sandbox, hostsim makes a new folder that only its user may enter, under a name that
    was free, in TMPDIR.
  - TMPDIR is /tmp when it is unset or empty; a relative one is taken from the working folder.
  - hostsim refuses (status 1) a TMPDIR in which, or in any folder above which, a user other than
    its own and root may rename entries: that user could exchange the sandbox with a folder of
    the player's.
  - At the end hostsim removes the temporary sandbox through the folder it made: its links are
    removed, never followed.
  - Should the sandbox's name lead elsewhere by then, hostsim leaves that, and names the sandbox
    it could not remove in a message.
  - Another user's entries in the temporary sandbox are kept, with the folders holding them,
    however private the sandbox is by then: hostsim says so, and keeps the sandbox.
  - A sandbox may not hold, at any depth, a link that leads out of it.
  - A sandbox may not hold a file with a second hard link: its other name may lie outside.
  - A sandbox may not hold a FIFO or a device.
  - hostsim checks the sandbox once, before it plays (status 2 when it fails); neither the host's
    reads nor its writes check it again.
  - So the sandbox must not change while hostsim plays, reads included.
  - hostsim holds the sandbox from before the play to the report: should its path lead to another
    folder by then (moved, removed or exchanged), hostsim names it, writes no report and ends
    with status 4.

The report file:
  - --report FILE writes the report to FILE once the whole scenario has played.
  - When the scenario fails, FILE is left as it was.
  - FILE may name a regular file, a FIFO, a character device (such as /dev/stdout), a link to one
    of them, or no file yet.
  - hostsim refuses FILE with status 1, before anything is played, when it:
    - is empty;
    - is a folder or another kind of file (a socket, a block device);
    - cannot be made (its folder missing or not writable, its name too long) or written;
    - is a file, a FIFO or a device the player may not write: its permission bits decide, for
      root too (444, 000, another user's 644);
    - is another user's file, FIFO or device in a folder other users may write (a sticky one
      too);
    - is another user's file in a sticky folder that is not the player's;
    - is a FIFO that no process reads;
    - is reached through another user's link in a folder other users may write;
    - is a file the scenario has hostsim read: the scenario, a bundle, a resource file, a
      project description or the file a library part of one lies in;
    - lies in the sandbox.
  - A regular file is replaced whole: the report is written beside it under a name that was free,
    then renamed over it, keeping the old one's permissions.
  - A FIFO or a character device is opened before the scenario is read, without waiting, and
    kept open: the report is written into it after the play.
  - However hostsim ends, a reader waiting at a FIFO named sees its end.
  - A reader that never reads holds a report larger than the FIFO's buffer, as a shell's
    redirection would: hostsim waits for it.
  - A reader of the FIFO, or of standard output, that leaves before the report is written fails
    the write: hostsim says so and ends with status 4.
  - A file put at FILE's name during the play that hostsim would have refused before (another
    user's, in a folder other users may write) is not written: hostsim says so and ends with
    status 4.
  - Through a link, hostsim writes what the link leads to, as the kind it is, and keeps the link.
    /dev/stdout works, to a terminal, a file or a pipe.
  - A file that hostsim holds open, named through /dev/stdout or /dev/fd/N, is written at its
    end, as the shell's >> writes.
  - A link, in FILE's path or at FILE, is followed only when it is the player's or root's, or
    lies in a folder no other user may write. This holds for every file hostsim and the host
    read or write.
  - A hostFile step writes its file as a regular report file is written: whole beside the old
    one, renamed over it, keeping the old one's permissions.
  - A hostFile step ends the play with status 2 where its name leads to:
    - a folder;
    - a file the player may not write;
    - another user's file in a folder other users may write;
    - another user's folder on the way, which does not hold this user's files.
  - A hostFile step walks its name once from its host folder, following a link from the folder
    that holds it. Each folder it reaches is asked, as it is held, to lie in the sandbox and be
    the player's.
  - A "project": "open" step opens its project file, made where missing, only in a folder of the
    player's or root's, asked as the walk holds it. No step saves the project elsewhere.
  - Another user's folder holding the project file, of any mode, ends the play with status 2,
    naming that folder.
  - Another user's folder on the project file's way is entered only where no other user may
    write the folder holding it, as the framework walks to its files.
  - A file chosen in a file dialog goes where the scenario chose it, whoever's folder holds it:
    the add-on writes it under the framework's rules (README.md says which).
  - A hostFile step into SharedData takes another user's folder only at SharedData/Zelvane, the
    framework's shared preference folder, which every user is to change.
  - It replaces another user's file only in that folder, as the framework writes its shared
    preference file there. Elsewhere in SharedData, another user's folder is not taken, and their
    file is written only where it would be in any other host folder.
  - A hostFile step reaches its folder through the sandbox hostsim holds: a sandbox moved during
    the play is never made again at its old name, and one removed ends the play with status 4.
  - A reader that leaves ends no hostsim by SIGPIPE, whether standard output or standard error is
    its pipe: a message that cannot be written is dropped.
  - A FIFO the host writes into (an image, the settings) is written only when a process reads
    it: the write never waits for one.
  - A settings file the host cannot read (malformed, or a failed read) is kept: the settings are
    not saved over it. An empty one holds no settings.
  - The report shows at most 64 MiB of a file, and names a larger one instead of its content.
README.md says what else the report escapes and leaves out.

Exit status:
  0  the scenario played. For example:
     - Preferences, SharedData or Temp not held during the play where only the add-on uses it
       (see "The sandbox");
     - a host folder removed during the play, made again at its next use.
  1  bad arguments, found before anything is played. For example:
     - an option hostsim does not take, an empty name after --report or --sandbox;
     - a report FILE hostsim refuses (see "The report file");
     - a sandbox FOLDER that is not a folder or cannot be made, that is reached through another
       user's link, or whose folder another user may rename entries in;
     - a sandbox FOLDER that other users may write in, or that holds another user's entry (a
       folder, a link, a file) at the name of one of the host's folders;
     - a sandbox FOLDER that holds, at a host folder's name, a link of the player's that the host
       would not follow, such as one into another user's folder;
     - without --sandbox, a temporary sandbox that cannot be made, or a TMPDIR another user may
       rename entries in.
  2  a scenario that cannot be played: the message names the file, step or member, and no
     report is written. For example:
     - not well-formed JSON, a member, step or action that examples/README.md does not name, a
       value out of range;
     - a resource file or project description that is missing, not a regular file or larger
       than 64 MiB;
     - a file outside the sandbox, a link in the sandbox that leads out of it, a file of it with
       a second hard link;
     - a hostFile step's file the host cannot write (see "The report file");
     - a project file in another user's folder;
     - a host folder that hostsim uses and the host does not hold during the play (see "The
       sandbox").
  3  a bundle that is missing, is not a regular file, is another user's in a folder other users
     may write, or does not load.
  4  the scenario played, but its report was not written. For example:
     - another user's file put at its name during the play;
     - the reader of its FIFO, or of standard output, left;
     - the sandbox moved or exchanged during the play;
     - the sandbox removed before a hostFile step;
     - a failed write.
)";
    return 0;
}

// Plays the scenario, read from `scenarioPath`, in the sandbox set up, and writes its report to
// `reportFile` (standard output when null); answers the exit status.
int play(const std::filesystem::path& scenarioPath, hostsim::ReportFile* reportFile,
         const hostsim::Sandbox& sandbox, nlohmann::json scenario) {
    try {
        hostsim::checkSandbox();
    } catch (const hostsim::ScenarioError& error) {
        // The sandbox's fault, not the scenario's: named without it.
        std::cerr << "hostsim: " << error.what() << "\n";
        return 2;
    }
    try {
        hostsim::HostProgram program(scenarioPath, programFolder());
        program.read(std::move(scenario));
        if (reportFile != nullptr) {
            reportFile->check(program.inputFiles());
        }
        // A scenario that fails part way writes no report: it is kept until the end, then printed
        // or written to the report file whole.
        std::ostringstream report;
        program.run(report);
        return hostsim::deliverReport(report.str(), reportFile, sandbox, std::cerr);
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << hostsim::escaped(scenarioPath.string()) << ": " << error.what() << "\n";
        // A step that failed for the sandbox moved or removed meanwhile: the play's status is the move's.
        if (const std::string moved = sandbox.moved(); !moved.empty()) {
            std::cerr << "hostsim: " << moved << ", so the report is not written\n";
            return 4;
        }
        return 2;
    } catch (const hostsim::BundleError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 3;
    } catch (const std::exception& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 1;
    }
}

// Reads the scenario, sets up the sandbox (a temporary one when `sandboxPath` is empty), plays and
// removes a temporary sandbox; answers the exit status.
int run(const std::filesystem::path& scenarioPath, hostsim::ReportFile* reportFile,
        const std::filesystem::path& sandboxPath) {
    nlohmann::json scenario;
    try {
        scenario = hostsim::readJsonFile(scenarioPath, "the scenario");
    } catch (const hostsim::ScenarioError& error) {
        std::cerr << "hostsim: " << error.what() << "\n";
        return 2;
    }

    // A fresh sandbox of the host's folders for each run, unless one is given, held from here to
    // the report so that one moved or exchanged meanwhile is found.
    std::unique_ptr<sim::TemporaryFolder> temporary;
    std::optional<hostsim::Sandbox> sandbox;
    if (sandboxPath.empty()) {
        try {
            temporary =
                std::make_unique<sim::TemporaryFolder>(sim::TemporaryFolder::defaultParent(), "hostsim-");
            sandbox.emplace(hostsim::Sandbox::made(temporary->path()));
        } catch (const std::exception& error) {
            std::cerr << "hostsim: cannot make a temporary sandbox: " << error.what() << "\n";
            if (temporary) {
                temporary->remove();
            }
            return 1;
        }
    } else {
        // Made here rather than as the host first uses it, so that a sandbox that cannot be one
        // fails as the argument it is. The host reads a relative path from its own current folder
        // inside the sandbox, where a relative root's folders are not: the sandbox is absolute.
        try {
            std::error_code error;
            // Joined to the working folder by name alone, for the messages; Sandbox walks it.
            const std::filesystem::path absolute = std::filesystem::absolute(sandboxPath, error);
            sandbox.emplace(hostsim::Sandbox::given(error ? sandboxPath : absolute));
        } catch (const std::exception& error) {
            std::cerr << "hostsim: " << error.what() << "\n";
            return 1;
        }
    }
    sim::setSandboxRoot(sandbox->path());
    sim::reset();
    // As the host does: elements change only inside an undoable command.
    sim::requireUndoScope(true);
    // Reproducible reports: one instant in UTC for every time the add-ons read or write; the reset
    // above started the GUIDs at their fixed seed.
    sim::setClock(2026, 1, 5, 9, 0, 0);
    sim::setUTCOffset(0);

    int status = play(scenarioPath, reportFile, *sandbox, std::move(scenario));
    if (temporary) {
        const std::string left = temporary->remove();
        if (!left.empty()) {
            std::cerr << "hostsim: " << left << "\n";
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // hostsim owns its process: a reader that leaves fails a write, the report's or a message's,
    // and the exit status says so; a message that cannot be written is dropped.
    std::signal(SIGPIPE, SIG_IGN);
    std::filesystem::path scenarioPath;
    std::optional<std::filesystem::path> reportPath, sandbox;
    std::optional<int> refused;
    for (int i = 1; i < argc && !refused; ++i) {
        std::string argument = argv[i];
        if (argument == "--help") {
            return help();
        }
        if ((argument == "--report" || argument == "--sandbox") && i + 1 < argc) {
            std::optional<std::filesystem::path>& named = argument == "--report" ? reportPath : sandbox;
            named = argv[++i];
            // An empty name would quietly mean standard output or a temporary sandbox.
            if (named->empty()) {
                std::cerr << "hostsim: " << argument << " \"\" names no file\n";
                refused = 1;
            }
        } else if (!argument.empty() && argument[0] != '-' && scenarioPath.empty()) {
            scenarioPath = argument;
        } else {
            refused = usage();
        }
    }
    if (!refused && scenarioPath.empty()) {
        refused = usage();
    }
    // Looked at before anything is read or played. A FIFO or device is kept open from here on, so
    // that whoever reads it sees its end however hostsim ends, with a report or without one.
    std::optional<hostsim::ReportFile> reportFile;
    if (reportPath && !reportPath->empty()) {
        try {
            reportFile.emplace(*reportPath);
        } catch (const std::exception& error) {
            if (!refused) {
                std::cerr << "hostsim: " << error.what() << "\n";
                refused = 1;
            }
        }
    }
    return refused ? *refused : run(scenarioPath, reportFile ? &*reportFile : nullptr, sandbox.value_or(""));
}

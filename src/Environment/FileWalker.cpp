#include "Environment/FileWalker.h"

#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "IO/Folder.hpp"
#include "IO/Name.hpp"
#include "IO/TreeEnumerator.hpp"

namespace zelvane {

namespace {

// Turns the host's callbacks into the walker's hooks. Nothing thrown by a hook reaches the host:
// it ends the walk and the traversal fails.
class GSTreeWalker : public IO::TreeEnumerator {
public:
    GSTreeWalker(FileWalker& walker, bool recursive) : m_walker(walker), m_recursive(recursive) {}

    bool hasFailed() const { return m_failed; }

protected:
    bool EntryFound(IO::Name const& name, bool isFolder) override {
        bool result = false;
        guard([&] { result = m_walker.preprocessName(String(name), isFolder); });
        return result;
    }

    bool FileFound(IO::Name const& name) override {
        guard([&] {
            Directory parent(GetCurrentFolder());
            DataFile file(parent, String(name), 3, false);
            m_walker.processFile(file);
        });
        return true;
    }

    bool FolderFound(IO::Name const& name) override {
        bool result = false;
        guard([&] {
            Directory parent(GetCurrentFolder());
            Directory folder(parent, String(name), false);
            result = m_walker.processDirectory(folder);
        });
        return result && m_recursive;
    }

    bool LinkFound(IO::Name const& name) override {
        bool result = false;
        guard([&] { result = m_walker.processLink(String(name), Directory(GetCurrentFolder())); });
        return result;
    }

    void FolderEntered(IO::Name const& name, IO::Folder const&) override {
        guard([&] {
            Directory parent(GetCurrentFolder());
            m_walker.beginDirectory(Directory(parent, String(name), false));
        });
    }

    void FolderExited(IO::Name const& name, IO::Folder const&) override {
        guard([&] {
            Directory parent(GetCurrentFolder());
            m_walker.endDirectory(Directory(parent, String(name), false));
        });
    }

private:
    template <typename Hook>
    void guard(Hook const& hook) {
        try {
            hook();
        } catch (...) {
            m_failed = true;
            m_walker.stop();
        }
        if (m_walker.isStopped()) {
            Stop();
        }
    }

    FileWalker& m_walker;
    bool m_recursive;
    bool m_failed = false;
};

} // namespace

FileWalker::~FileWalker() = default;

bool FileWalker::preprocessName(String const&, bool) {
    return true;
}

bool FileWalker::processLink(String const&, Directory const&) {
    return false;
}

void FileWalker::processFile(DataFile const&) {}

bool FileWalker::processDirectory(Directory const&) {
    return true;
}

void FileWalker::beginDirectory(Directory const&) {}

void FileWalker::endDirectory(Directory const&) {}

void FileWalker::stop() {
    m_stopped = true;
}

bool FileWalker::isStopped() const {
    return m_stopped;
}

bool FileWalker::traverse(Directory const& root, bool recursive, bool) {
    m_stopped = false;
    IO::Folder const* folder = root.getData();
    if (folder == nullptr) {
        return false;
    }
    GSTreeWalker adapter(*this, recursive);
    // The host's enumeration of a tree, which its callers see as the host lists it.
    GSErrCode result = adapter.Enumerate(*folder);
    return result == NoError && !adapter.hasFailed();
}

} // namespace zelvane

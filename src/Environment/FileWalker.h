// The base of every recursive walk through a folder: a subclass overrides the hooks it needs and
// calls traverse.
#pragma once

namespace zelvane {

class DataFile;
class Directory;
class String;

class FileWalker {
public:
    FileWalker() = default;
    virtual ~FileWalker();

    // Whether the entry is looked at further; every entry by default.
    virtual bool preprocessName(String const& name, bool isFolder);
    // Whether a symbolic link is followed to its target; none by default.
    virtual bool processLink(String const& name, Directory const& parent);
    virtual void processFile(DataFile const& file);
    // Whether the walk descends into the folder (when it is recursive); yes by default.
    virtual bool processDirectory(Directory const& folder);
    virtual void beginDirectory(Directory const& folder);
    virtual void endDirectory(Directory const& folder);
    // Ends the walk after the current hook.
    virtual void stop();
    virtual bool isStopped() const;

    // Walks the entries of root (and of its sub-folders when recursive). True when the host walked
    // the folder to its end or to a stop; false when it could not, or when a hook threw.
    bool traverse(Directory const& root, bool recursive, bool unused = false);

private:
    bool m_stopped = false;
};

} // namespace zelvane

// Where host files live: on disk (the default), or in memory so that fuzzing
// runs the same code paths without a file system call. The INI engine and the
// virtual board's file layer read and write through this interface only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbex::ini {

class FileStore {
public:
    virtual ~FileStore() = default;
    virtual bool IsFile(const std::string& path) const = 0;
    // The file's bytes; nullopt when it is not a readable file.
    virtual std::optional<std::string> Read(const std::string& path) const = 0;
    // Replaces the file's bytes; false when it cannot be written.
    virtual bool Write(const std::string& path, std::string_view bytes) = 0;
    // Adds bytes at the file's end, creating it; false when it cannot be written.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;
    // Creates the directories that lead to path (disk only; memory needs none).
    virtual void MakeParents(const std::string& path) = 0;
    // The names of the regular files directly in directory, in no set order.
    virtual std::vector<std::string> List(const std::string& directory) const = 0;
};

class DiskFileStore final : public FileStore {
public:
    bool IsFile(const std::string& path) const override;
    std::optional<std::string> Read(const std::string& path) const override;
    bool Write(const std::string& path, std::string_view bytes) override;
    bool Append(const std::string& path, std::string_view bytes) override;
    void MakeParents(const std::string& path) override;
    std::vector<std::string> List(const std::string& directory) const override;
};

// Files in memory, named by their lexically normal path ("a/./b" is "a/b").
// Every directory exists; a write never fails.
class MemoryFileStore final : public FileStore {
public:
    bool IsFile(const std::string& path) const override;
    std::optional<std::string> Read(const std::string& path) const override;
    bool Write(const std::string& path, std::string_view bytes) override;
    bool Append(const std::string& path, std::string_view bytes) override;
    void MakeParents(const std::string&) override {}
    std::vector<std::string> List(const std::string& directory) const override;

    bool Remove(const std::string& path);
    void Clear() { m_files.clear(); }
    // Takes the files of another store, each as a change (its generation moves on).
    void ReplaceWith(const MemoryFileStore& other);
    // Moves on with every change of the file; 0 while it does not exist.
    uint64_t Generation(const std::string& path) const;

private:
    struct File {
        std::string bytes;
        uint64_t generation = 0;
    };
    // The path's key: the path itself when it is already normal (no copy),
    // otherwise its normal form, kept in scratch.
    static const std::string& Key(const std::string& path, std::string& scratch);
    static std::string Key(const std::string& path) {
        std::string scratch;
        return Key(path, scratch);
    }
    File& At(const std::string& path);  // the file, created empty when missing
    std::map<std::string, File, std::less<>> m_files;
    uint64_t m_nextGeneration = 1;
};

}  // namespace orbex::ini

// Appending to a file so that it gains the whole block or nothing: a failed write (a full disk,
// a file-size limit) cuts the file back to its length before, so that no torn block is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// How writing a file ended: an append here, or a whole file the windows write.
enum class FileWriteStatus {
    Ok,
    OpenFailed,   // the file cannot be opened or created
    WriteFailed,  // writing, flushing, closing or renaming failed: the file is as it was before
};

// One block appended in pieces: write() the pieces, then commit(). Destroyed without commit(),
// or after a failed write, the file is cut back to its previous length (removed when this
// object created it).
class WholeAppend {
  public:
    explicit WholeAppend(const std::string& path);
    ~WholeAppend();
    WholeAppend(const WholeAppend&) = delete;
    WholeAppend& operator=(const WholeAppend&) = delete;

    bool is_open() const { return file_ != nullptr; }
    // False once any write failed (later writes are skipped).
    bool write(const char* data, std::size_t size);
    // Flushes and closes the file; on any failure the file is cut back.
    FileWriteStatus commit();

  private:
    void roll_back();

    std::string path_;
    std::FILE* file_ = nullptr;
    bool existed_ = false;
    bool size_known_ = false;
    std::uintmax_t old_size_ = 0;
    bool failed_ = false;
};

// The whole block or nothing, in one call.
FileWriteStatus append_whole(const std::string& path, std::string_view block);

#include "file_append.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

WholeAppend::WholeAppend(const std::string& path) : path_(path) {
    std::error_code ec;
    existed_ = fs::exists(path_, ec);
    file_ = std::fopen(path_.c_str(), "ab");
    if (file_ == nullptr) return;
    // Devices and pipes have no length to return to; only regular files are cut back.
    if (fs::is_regular_file(path_, ec)) {
        old_size_ = fs::file_size(path_, ec);
        size_known_ = !ec;
    }
}

WholeAppend::~WholeAppend() {
    if (file_ != nullptr) roll_back();
}

bool WholeAppend::write(const char* data, std::size_t size) {
    if (file_ == nullptr || failed_) return false;
    failed_ = std::fwrite(data, 1, size, file_) != size;
    return !failed_;
}

FileWriteStatus WholeAppend::commit() {
    if (file_ == nullptr) return FileWriteStatus::OpenFailed;
    // A full disk often shows only when the buffer is flushed.
    if (failed_ || std::fflush(file_) != 0 || std::ferror(file_)) {
        roll_back();
        return FileWriteStatus::WriteFailed;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) {
        failed_ = true;
        roll_back();
        return FileWriteStatus::WriteFailed;
    }
    return FileWriteStatus::Ok;
}

void WholeAppend::roll_back() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    std::error_code ec;
    if (!existed_)
        fs::remove(path_, ec);
    else if (size_known_)
        fs::resize_file(path_, old_size_, ec);
}

FileWriteStatus append_whole(const std::string& path, std::string_view block) {
    WholeAppend file(path);
    if (!file.is_open()) return FileWriteStatus::OpenFailed;
    file.write(block.data(), block.size());
    return file.commit();
}

#include "quillmark/core/TemporaryFiles.h"

#include <charconv>
#include <vector>

#include "quillmark/core/ProgramDirectory.h"

namespace qm {

namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";

// A decimal number of at least one digit that takes the whole text.
std::optional<int> NumberOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] < '0' || text[0] > '9' || error != std::errc() ||
        end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::string TemporaryFileName(const std::string& path, int pid, int number) {
    return path + std::string(kTemporaryMark) + std::to_string(pid) + "-" + std::to_string(number);
}

std::optional<int> TemporaryFileWriter(std::string_view entry, std::string_view fileName) {
    if (!entry.starts_with(fileName) || !entry.substr(fileName.size()).starts_with(kTemporaryMark))
        return std::nullopt;
    const std::string_view rest = entry.substr(fileName.size() + kTemporaryMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || !NumberOf(rest.substr(dash + 1))) return std::nullopt;
    const std::optional<int> pid = NumberOf(rest.substr(0, dash));
    if (!pid || *pid <= 0) return std::nullopt;
    return pid;
}

void RemoveLeftoverTemporaryFiles(IFileSystem& files, const std::string& path) {
    const std::string target = FinalTarget(files, path);
    const std::string directory = DirectoryOfFile(target);
    const std::string fileName = target.substr(target.rfind('/') + 1);
    std::vector<std::string> entries;
    if (files.ListDirectory(directory, entries)) return;
    for (const std::string& entry : entries) {
        const std::optional<int> pid = TemporaryFileWriter(entry, fileName);
        if (pid && files.ProcessEnded(*pid)) files.Remove(directory + entry);
    }
}

}  // namespace qm

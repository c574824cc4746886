#pragma once
// Where the history store lives: "Quillmark.sqlite" in the directory of the session file.

#include <string>

namespace qm {

inline constexpr const char* kHistoryStoreFileName = "Quillmark.sqlite";

// "/dir/Quillmark.dat" -> "/dir/Quillmark.sqlite"; a bare file name gives "Quillmark.sqlite".
std::string HistoryStorePath(const std::string& sessionFilePath);

}  // namespace qm

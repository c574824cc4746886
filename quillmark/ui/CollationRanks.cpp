#include "quillmark/ui/CollationRanks.h"

#include <QLocale>
#include <QString>
#include <algorithm>

namespace qm::ui {

std::vector<std::int64_t> TCollationRanks::Ranks(const std::vector<const std::string*>& texts,
                                                 std::int64_t missing) {
    // Keys of another locale do not compare with this one's; so many texts that most are likely
    // gone are dropped too.
    if (FCollator.locale() != QLocale() || FEntries.size() >= kMaximumTexts) {
        FCollator = QCollator(QLocale());
        FEntries.clear();
        FLastDistinctCount = 0;
    }
    ++FCall;
    // The ranks of the last call hold when this call meets exactly the texts it met.
    bool sameTexts = true;
    std::vector<TEntry*> entries(texts.size(), nullptr);
    std::vector<TEntry*> distinct;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == nullptr) continue;
        bool added = false;
        TEntry& entry = EntryOf(*texts[i], added);
        if (entry.seenIn != FCall) {
            sameTexts = sameTexts && !added && entry.seenIn + 1 == FCall;
            entry.seenIn = FCall;
            distinct.push_back(&entry);
        }
        entries[i] = &entry;
    }
    if (!sameTexts || distinct.size() != FLastDistinctCount) RankInOrder(distinct);
    FLastDistinctCount = distinct.size();
    std::vector<std::int64_t> ranks(texts.size(), missing);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (entries[i] != nullptr) ranks[i] = entries[i]->rank;
    return ranks;
}

TCollationRanks::TEntry& TCollationRanks::EntryOf(const std::string& text, bool& added) {
    if (const auto found = FEntries.find(text); found != FEntries.end()) return found->second;
    added = true;
    const QString unicode = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return FEntries.emplace(text, TEntry{FCollator.sortKey(unicode)}).first->second;
}

void TCollationRanks::RankInOrder(std::vector<TEntry*>& distinct) {
    std::sort(distinct.begin(), distinct.end(),
              [](const TEntry* a, const TEntry* b) { return a->key.compare(b->key) < 0; });
    std::int64_t rank = 0;
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        if (i > 0 && distinct[i - 1]->key.compare(distinct[i]->key) != 0) ++rank;
        distinct[i]->rank = rank;
    }
}

}  // namespace qm::ui

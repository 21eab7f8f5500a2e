#include "library/hash_table.h"

#include "common/gbk_text.h"

#include <algorithm>

// A table needs one bucket at least, or Add would have nowhere to put an item.
THashTable::THashTable(int size) : FBuckets(static_cast<size_t>(std::max(size, 1))) {}

THashTable::~THashTable() {
    Clear();
}

void THashTable::Add(const QString& key, const QVariant& value) {
    std::unique_ptr<THashItem>& bucket = FBuckets[HashOf(key) % FBuckets.size()];
    auto item = std::make_unique<THashItem>();
    item->Key = key;
    item->Value = value;
    item->Next = std::move(bucket);
    bucket = std::move(item);
}

quint32 THashTable::HashOf(const QString& key) const {
    quint32 hash = 0;
    for (const char byte : ToGbk(key))
        hash = ((hash << 2) | (hash >> 30)) ^ static_cast<unsigned char>(byte);
    return hash;
}

int THashTable::Count() const {
    return static_cast<int>(std::count_if(FBuckets.begin(), FBuckets.end(),
                                          [](const auto& bucket) { return bucket != nullptr; }));
}

void THashTable::ValueAt(int index, QVariant& value) const {
    int nonEmpty = 0;
    for (const std::unique_ptr<THashItem>& bucket : FBuckets) {
        if (!bucket)
            continue;
        if (nonEmpty++ == index) {
            value = bucket->Value;
            return;
        }
    }
}

void THashTable::Clear() {
    for (std::unique_ptr<THashItem>& bucket : FBuckets) {
        // Unlink item by item so that a long chain is not freed by deep recursion.
        while (bucket)
            bucket = std::move(bucket->Next);
    }
}

#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

struct THashItem {
    std::unique_ptr<THashItem> Next;
    QString Key;
    QVariant Value;
};

// The parameter table of TMDBAccess: a fixed number of buckets, each a chain of items with the
// newest first.
class THashTable {
public:
    explicit THashTable(int size);
    virtual ~THashTable();

    void Add(const QString& key, const QVariant& value);

    // Rotate left by 2 and exclusive-or each byte of the key's GBK text; "" hashes to 0.
    virtual quint32 HashOf(const QString& key) const;

    // The number of non-empty buckets, not of items.
    int Count() const;

    // The first item's value of the Index-th non-empty bucket; Value is left alone when there
    // is no such bucket.
    void ValueAt(int index, QVariant& value) const;

    void Clear();

private:
    std::vector<std::unique_ptr<THashItem>> FBuckets;
};

#pragma once

#include <QString>
#include <libxml/tree.h>
#include <memory>

// One loaded or new document; the file format rules of the configuration live here.
class TXmlDocument {
public:
    static TXmlDocument CreateEmpty(const char* rootName);
    // Fails with the parser's own message when the file is not well-formed or has no root.
    static TXmlDocument Load(const QString& path);

    xmlNodePtr Root() const;
    // Saved in GB2312 through a temporary file that replaces the target only when whole, and
    // only when the bytes read back as this same document; otherwise the target stays as it was.
    void Save(const QString& path) const;

    // The element's name as the file writes it, its namespace prefix included.
    static QString Name(xmlNodePtr element);
    static QString Text(xmlNodePtr element);
    static void SetText(xmlNodePtr element, const QString& text);

private:
    struct Free {
        void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
    };
    explicit TXmlDocument(xmlDocPtr doc) : FDoc(doc) {}
    std::unique_ptr<xmlDoc, Free> FDoc;
};

#include "config/xml_document.h"

#include "common/failure.h"

#include <QFile>
#include <QSaveFile>
#include <libxml/parser.h>

namespace {

const char kSingleTextNode[] = "Element does not contain a single text node";

const xmlChar* Xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

bool IsTextual(xmlNodePtr node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

// An element with no child or one text child holds a value; anything else is not a setting.
void RequireSingleText(xmlNodePtr element) {
    xmlNodePtr child = element->children;
    if (child != nullptr && (child->next != nullptr || !IsTextual(child)))
        throw EFailure(QString::fromLatin1(kSingleTextNode));
}

QString ParserMessage(xmlParserCtxtPtr context) {
    const xmlError* error = xmlCtxtGetLastError(context);
    if (error == nullptr || error->message == nullptr)
        return QStringLiteral("The document has no root element");
    return QString::fromUtf8(error->message).trimmed();
}

} // namespace

TXmlDocument TXmlDocument::CreateEmpty(const char* rootName) {
    xmlDocPtr doc = xmlNewDoc(Xml("1.0"));
    xmlDocSetRootElement(doc, xmlNewDocNode(doc, nullptr, Xml(rootName), nullptr));
    return TXmlDocument(doc);
}

TXmlDocument TXmlDocument::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFailure(file.errorString());
    const QByteArray bytes = file.readAll();
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(),
                                                                       xmlFreeParserCtxt);
    // Blank text between elements is layout, not content; the network is never consulted.
    const int options = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_NOERROR |
                        XML_PARSE_NOWARNING | XML_PARSE_NOENT;
    xmlDocPtr doc = xmlCtxtReadMemory(context.get(), bytes.constData(), int(bytes.size()), nullptr,
                                      nullptr, options);
    if (doc == nullptr || xmlDocGetRootElement(doc) == nullptr) {
        const QString message = ParserMessage(context.get());
        xmlFreeDoc(doc);
        throw EFailure(message);
    }
    return TXmlDocument(doc);
}

xmlNodePtr TXmlDocument::Root() const {
    return xmlDocGetRootElement(FDoc.get());
}

void TXmlDocument::Save(const QString& path) const {
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(FDoc.get(), &buffer, &size, "GB2312", 0);
    if (buffer == nullptr)
        throw EFailure(QStringLiteral("The document could not be written as GB2312"));
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), size);
    xmlFree(buffer);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EFailure(file.errorString());
}

QString TXmlDocument::Text(xmlNodePtr element) {
    RequireSingleText(element);
    if (element->children == nullptr || element->children->content == nullptr)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(element->children->content));
}

void TXmlDocument::SetText(xmlNodePtr element, const QString& text) {
    RequireSingleText(element);
    const QByteArray utf8 = text.toUtf8();
    if (element->children != nullptr) {
        xmlNodePtr old = element->children;
        xmlUnlinkNode(old);
        xmlFreeNode(old);
    }
    // xmlNewDocText does not interpret entities, so "&" and "<" are stored as written.
    xmlAddChild(element, xmlNewDocText(element->doc, Xml(utf8.constData())));
}

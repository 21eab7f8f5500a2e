#include "config/xml_document.h"

#include "common/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <libxml/parser.h>

namespace {

const char kSingleTextNode[] = "Element does not contain a single text node";

// Blank text between elements is layout, not content. Entities stay references and no DTD is
// fetched, so a file never pulls another file's contents into a setting; nor is the network
// ever consulted.
constexpr int kParseOptions =
    XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct TFreeDoc {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using TDocOwner = std::unique_ptr<xmlDoc, TFreeDoc>;

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

// The document the bytes hold; null, with the parser's message, when they are not well-formed
// or have no root.
TDocOwner Parse(const QByteArray& bytes, QString& message) {
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(),
                                                                       xmlFreeParserCtxt);
    TDocOwner doc(xmlCtxtReadMemory(context.get(), bytes.constData(), int(bytes.size()), nullptr,
                                    nullptr, kParseOptions));
    if (doc == nullptr || xmlDocGetRootElement(doc.get()) == nullptr) {
        message = ParserMessage(context.get());
        return nullptr;
    }
    return doc;
}

// The writer prints each character it cannot encode; what that means for the save is decided
// here, and reported through the store's own failures.
void IgnoreMessage(void*, const char*, ...) {}

// The document's bytes in Encoding; empty when it cannot be written.
QByteArray Serialised(xmlDocPtr doc, const char* encoding) {
    xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &buffer, &size, encoding, 0);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), buffer == nullptr ? 0 : size);
    xmlFree(buffer);
    return bytes;
}

// GB2312 lacks most of Unicode: libxml2 writes other characters as character references, which
// are no XML inside a name and plain text inside character data, and some markup (a namespace
// value holding "&") it writes unescaped. Bytes count as saved only when they parse back into
// this same document.
bool ReadsBackAs(const QByteArray& bytes, xmlDocPtr doc) {
    QString message;
    const TDocOwner reread = Parse(bytes, message);
    return reread != nullptr && Serialised(reread.get(), "UTF-8") == Serialised(doc, "UTF-8");
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
    QString message;
    TDocOwner doc = Parse(file.readAll(), message);
    if (doc == nullptr)
        throw EFailure(message);
    return TXmlDocument(doc.release());
}

xmlNodePtr TXmlDocument::Root() const {
    return xmlDocGetRootElement(FDoc.get());
}

void TXmlDocument::Save(const QString& path) const {
    const QByteArray bytes = Serialised(FDoc.get(), "GB2312");
    if (bytes.isEmpty())
        throw EFailure(QStringLiteral("The document could not be written as GB2312"));
    if (!ReadsBackAs(bytes, FDoc.get()))
        throw EFailure(QStringLiteral("无法保存设置：写出的“%1”不能原样读回，原来的文件没有改动")
                           .arg(QFileInfo(path).fileName()));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EFailure(file.errorString());
}

QString TXmlDocument::Name(xmlNodePtr element) {
    const QString local = QString::fromUtf8(reinterpret_cast<const char*>(element->name));
    if (element->ns == nullptr || element->ns->prefix == nullptr)
        return local;
    return QString::fromUtf8(reinterpret_cast<const char*>(element->ns->prefix)) +
           QLatin1Char(':') + local;
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

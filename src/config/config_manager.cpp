#include "config/config_manager.h"

#include "common/common_method.h"
#include "common/failure.h"
#include "config/xml_document.h"

#include <QFileInfo>

namespace {

QString& ConfigPath() {
    static QString path;
    return path;
}

QString KeyForm(const QString& name) {
    return UpperCaseAscii(TrimBlanks(name));
}

// The first element child of the root whose name matches Key; later namesakes are never used.
// A prefixed name matches only with its prefix, as it reads back after an append.
xmlNodePtr FindKey(const TXmlDocument& document, const QString& key) {
    const QString wanted = KeyForm(key);
    for (xmlNodePtr node = document.Root()->children; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (KeyForm(TXmlDocument::Name(node)) == wanted)
            return node;
    }
    return nullptr;
}

} // namespace

void TConfigManager::SetConfigFilePath(const QString& path) {
    ConfigPath() = path;
}

QString TConfigManager::ConfigFilePath() {
    return ConfigPath();
}

void TConfigManager::EnsureConfigFile() {
    if (QFileInfo::exists(ConfigPath()))
        return;
    TXmlDocument::CreateEmpty("configuration").Save(ConfigPath());
}

void TConfigManager::ReadValue(const QString& key, QString& value) {
    value.clear();
    EnsureConfigFile();
    const TXmlDocument document = TXmlDocument::Load(ConfigPath());
    if (xmlNodePtr element = FindKey(document, key))
        value = TXmlDocument::Text(element);
}

void TConfigManager::WriteValue(const QString& key, const QString& value) {
    EnsureConfigFile();
    TXmlDocument document = TXmlDocument::Load(ConfigPath());
    xmlNodePtr element = FindKey(document, key);
    if (element == nullptr) {
        const QByteArray name = key.toUtf8();
        // An element name that XML cannot hold would leave a file no later read could load.
        if (xmlValidateName(reinterpret_cast<const xmlChar*>(name.constData()), 0) != 0)
            throw EFailure(QStringLiteral("'%1' is not a valid element name").arg(key));
        // Made without a namespace: a child made by xmlNewChild takes the root's, and under a
        // prefixed root it would be written, and read back, under another name.
        element =
            xmlAddChild(document.Root(),
                        xmlNewDocNode(document.Root()->doc, nullptr,
                                      reinterpret_cast<const xmlChar*>(name.constData()), nullptr));
    }
    TXmlDocument::SetText(element, value);
    document.Save(ConfigPath());
}

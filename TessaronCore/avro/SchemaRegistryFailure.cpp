#include "TessaronCore/avro/SchemaRegistryClient.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron {

SchemaRegistryClient::Failure::Failure(Kind kind, int32_t schemaID, int status, QString text)
    : m_kind(kind)
    , m_schemaID(schemaID)
    , m_status(status)
    , m_text(std::move(text))
{
    // what() is English, whatever the language in force: it is for logs and debuggers only.
    switch (m_kind) {
    case Kind::Unreachable:
        m_utf8 = "the registry did not answer: " + m_text.toUtf8();
        break;
    case Kind::NotFound:
        m_utf8 = "the registry has no schema " + QByteArray::number(m_schemaID);
        break;
    case Kind::BadSchema:
        m_utf8 = "schema " + QByteArray::number(m_schemaID) + " could not be parsed: " + m_text.toUtf8();
        break;
    case Kind::Unexpected:
        m_utf8 = "the registry answered " + QByteArray::number(m_status) + ": " + m_text.toUtf8();
        break;
    case Kind::NotConfigured:
        m_utf8 = "no Schema Registry configured for this broker";
        break;
    case Kind::Unauthorized:
        m_utf8 = "the registry refused these credentials";
        break;
    }
}

QString SchemaRegistryClient::Failure::message() const
{
    switch (m_kind) {
    case Kind::Unreachable:
        return L10n::t("the registry did not answer: %@", m_text);
    case Kind::NotFound:
        return L10n::t("the registry has no schema %d", m_schemaID);
    case Kind::BadSchema:
        return L10n::t("schema %d could not be parsed: %@", m_schemaID, m_text);
    case Kind::Unexpected:
        return L10n::t("the registry answered %d: %@", m_status, m_text);
    case Kind::NotConfigured:
        return L10n::t("no Schema Registry configured for this broker");
    case Kind::Unauthorized:
        return L10n::t("the registry refused these credentials");
    }
    return {};
}

} // namespace tessaron

#pragma once

namespace tessaron {

// What the browser's pane shows below the header, decided from the session's state alone.
enum class BrowserBody { consent, working, columns, nothingRetained, briefing };

// First match wins: consent (a RabbitMQ queue not yet consented to, or one the client refuses),
// a read under way, the messages read, nothing read, and with no topic at all the briefing.
constexpr BrowserBody chooseBody(bool hasTopic, bool needsConsent, bool isLoading, bool hasMessages)
{
    if (needsConsent && hasTopic)
        return BrowserBody::consent;
    if (isLoading)
        return BrowserBody::working;
    if (hasTopic && hasMessages)
        return BrowserBody::columns;
    if (hasTopic)
        return BrowserBody::nothingRetained;
    return BrowserBody::briefing;
}

} // namespace tessaron

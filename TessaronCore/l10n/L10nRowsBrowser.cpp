// Rows of the message browser.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsBrowser()
{
    static const L10nRow table[] = {
        {"Nothing from that moment on", "Nada desse momento em diante"},
        {"This topic retains %@ messages, all from before it. Pick an earlier moment, or read the latest.",
         "Este tópico retém %@ mensagens, todas de antes dele. Escolhe um momento mais cedo, ou lê as mais novas."},
        {"Nothing read from there", "Nada lido a partir dali"},
        {"This topic retains %@ messages, but none came back from where this read started.",
         "Este tópico retém %@ mensagens, mas nenhuma voltou de onde esta leitura começou."},
        {"Avro, schema %d", "Avro, esquema %d"},
        {"Avro, schema %d — %@", "Avro, esquema %d — %@"},
        {"lag %d", "lag de %d"},
        {"<binary>", "<binário>"},
        {"Messages", "Mensagens"},
        {"Couldn't read this queue's bindings, so what routes here is unknown.",
         "Não consegui ler os bindings desta fila, então não sei o que chega até aqui."},
        {"Tessaron won't read this queue.", "O Tessaron não vai ler esta fila."},
        {"This is a quorum queue: every look also adds one to each message's delivery count, which stays with the "
         "message.",
         "Esta é uma fila quorum: cada espiada também soma um na contagem de entregas de cada mensagem, e isso fica "
         "com a mensagem."},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

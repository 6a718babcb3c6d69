// Rows of settings, about and the release notes.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsSettings()
{
    static const L10nRow table[] = {
        {"COUNSEL ON RETAINER", "ADVOGADO CONTRATADO"},
        {"Made for Linux", "Feito pro Linux"},
        {"Counsel's file, opened for you. No fee for looking.",
         "A ficha do advogado, aberta pra você. Olhar não custa nada."},
        {"Every setting here is stored the moment you touch it. I watched.",
         "Cada ajuste aqui é guardado no instante em que você mexe. Eu vi."},
        {"The usual docket. Thorough, not obsessive.", "A pauta de sempre. Caprichado, sem ser obsessivo."},
        {"Every page, every footnote. Clear my afternoon.",
         "Cada página, cada nota de rodapé. Pode cancelar minha tarde."},
        {"Let the record show: the client booped first.", "Que conste nos autos: o cliente deu o boop primeiro."},
        {"He reads every offset twice. The second time for fun.",
         "Ele lê cada offset duas vezes. A segunda só pela diversão."},
        {"Reads Kafka and RabbitMQ. Touches nothing it wasn't asked to.",
         "Lê Kafka e RabbitMQ. Não mexe no que não pediram."},
        {"Made by a small pack of engineers and one very good dog.",
         "Feito por uma matilha de engenheiros e um ótimo cachorro."},
        {"Built on open source, with thanks to everyone who shares it.",
         "Feito sobre código aberto, com gratidão a quem compartilha."},
        {"No queues were harmed. A few were requeued.", "Nenhuma fila se machucou. Algumas voltaram pra fila."},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

// Rows of refusals of the clients and sessions.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsClients()
{
    static const L10nRow table[] = {
        {"This port answers, but not like the RabbitMQ management API. Check the address and the port (15672 by "
         "default).",
         "Essa porta responde, mas não como a API de gerenciamento do RabbitMQ. Confere o endereço e a porta (15672 "
         "por padrão)."},
        {"%@ did not confirm the publish (%@), so the message may have been filed. Look at the queue before filing it "
         "again.",
         "%@ não confirmou a publicação (%@), então a mensagem pode ter sido arquivada. Dá uma olhada na fila antes de "
         "arquivar de novo."},
        {"This is a stream queue. The management API cannot read a stream without disturbing it, so I won't read it "
         "here.",
         "Essa é uma fila stream. A API de gerenciamento não lê um stream sem mexer nele, então não vou ler aqui."},
        {"This quorum queue has a delivery limit of %d. Every read counts as a delivery, so after %d reads RabbitMQ "
         "would drop or dead-letter its messages. I won't read it.",
         "Essa fila quorum tem limite de entrega %d. Cada leitura conta como uma entrega, então depois de %d leituras "
         "o RabbitMQ descartaria as mensagens ou mandaria para a dead-letter. Não vou ler."},
        {"I couldn't write brokers.json, so this broker is still on file, passwords and all. Check that your data "
         "folder is writable, then try again.",
         "Não consegui gravar o brokers.json, então este broker continua registrado, com senhas e tudo. Confere se dá "
         "pra escrever na sua pasta de dados e tenta de novo."},
        {"I couldn't write brokers.json, so the favourite did not change. Check that your data folder is writable, "
         "then try again.",
         "Não consegui gravar o brokers.json, então o favorito não mudou. Confere se dá pra escrever na sua pasta de "
         "dados e tenta de novo."},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

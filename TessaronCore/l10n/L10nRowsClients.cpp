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
         "%@ não confirmou a publicação (%@), então a mensagem pode ter sido protocolada. Dá uma olhada na fila antes "
         "de protocolar de novo."},
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
        {"its answer passed 1 MiB, far more than any schema, so I stopped reading it",
         "a resposta passou de 1 MiB, muito mais que qualquer schema, então parei de ler"},
        {"%@ did not answer the read (%@) after receiving it, so it may have taken and requeued the messages: they "
         "would now be marked redelivered.",
         "%@ não respondeu à leitura (%@) depois de recebê-la, então pode ter pegado e devolvido as mensagens: agora "
         "elas estariam marcadas como reentregues."},
        {"the broker has no virtual host \u201c%@\u201d", "o broker não tem o virtual host \u201c%@\u201d"},
        {"The RabbitMQ management API cannot address a virtual host named \u201c%@\u201d: its web server drops that "
         "name from every request's address, so I can't browse it here.",
         "A API de gerenciamento do RabbitMQ não consegue endereçar um virtual host chamado \u201c%@\u201d: o servidor "
         "web dela descarta esse nome do endereço de toda requisição, então não dá pra navegar nele aqui."},
        {"The RabbitMQ management API cannot address a queue named \u201c%@\u201d: its web server drops that name "
         "from the request's address, so I can't read it here.",
         "A API de gerenciamento do RabbitMQ não consegue endereçar uma fila chamada \u201c%@\u201d: o servidor web "
         "dela descarta esse nome do endereço da requisição, então não consigo ler essa fila aqui."},
        {"string", "texto"},
        {"bool", "booleano"},
        {"object", "objeto"},
        {"array", "lista"},
        {"no Schema Registry configured for this broker", "nenhum Schema Registry configurado para este broker"},
        {"the registry did not answer: %@", "o registry não respondeu: %@"},
        {"the registry refused these credentials", "o registry recusou estas credenciais"},
        {"the registry has no schema %d", "o registry não tem o schema %d"},
        {"schema %d could not be parsed: %@", "o schema %d não pôde ser interpretado: %@"},
        {"the registry answered %d: %@", "o registry respondeu %d: %@"},
        {"the connection closed before the answer", "a conexão fechou antes da resposta"},
        {"could not read the file %@ (%@): %@", "não consegui ler o arquivo %@ (%@): %@"},
        {"the file %@ (%@) holds no certificate", "o arquivo %@ (%@) não tem nenhum certificado"},
        {"certificate authority", "autoridade certificadora"},
        {"client certificate", "certificado de cliente"},
        {"client key", "chave do cliente"},
        {"the client key at %@ cannot be read: it must be an unencrypted PEM key, or give its passphrase on the "
         "broker's form",
         "não dá pra ler a chave do cliente em %@: ela precisa ser uma chave PEM sem criptografia, ou informa a "
         "senha dela no formulário do broker"},
        {"the client key at %@ cannot be read with the passphrase given: it must be a PEM key, and the passphrase "
         "its own",
         "não dá pra ler a chave do cliente em %@ com a senha informada: ela precisa ser uma chave PEM, e a senha a "
         "dela"},
        {"%@ presented a certificate that can't be trusted: %@. Choose the certificate authority that signed it on "
         "the broker's form.",
         "%@ apresentou um certificado que não dá pra confiar: %@. Escolhe no formulário do broker a autoridade "
         "certificadora que o assinou."},
        {"The TLS handshake with %@ failed: %@. Check the certificate authority, the client certificate and the key "
         "on the broker's form.",
         "O handshake TLS com %@ falhou: %@. Confere a autoridade certificadora, o certificado de cliente e a chave no "
         "formulário do broker."},
        {"the queue \u201c%@\u201d no longer exists on the broker", "a fila \u201c%@\u201d não existe mais no broker"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

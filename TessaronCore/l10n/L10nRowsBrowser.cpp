// Rows of the message browser.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsBrowser()
{
    static const L10nRow table[] = {
        {"Not yours to read", "Não é seu pra ler"},
        {"The broker lets this user see this topic but not read it: its ACLs grant no Read here.",
         "O broker deixa este usuário ver este tópico, mas não ler: as ACLs dele não dão Read aqui."},
        {"This one is the only one that disagrees.", "Esta é a única que discorda."},
        {"1 byte of binary", "1 byte de binário"},
        {"Nothing from that moment on", "Nada desse momento em diante"},
        {"This topic retains %@ messages, all from before it. Pick an earlier moment, or read the latest.",
         "Este tópico retém %@ mensagens, todas de antes desse momento. Escolhe um momento mais cedo, ou lê as mais "
         "novas."},
        {"Nothing read from there", "Nada lido a partir dali"},
        {"This topic retains %@ messages, but none came back from where this read started.",
         "Este tópico retém %@ mensagens, mas nenhuma voltou de onde esta leitura começou."},
        {"This topic retains 1 message, and it is from before that moment. Pick an earlier moment, or read the latest.",
         "Este tópico retém 1 mensagem, e ela é de antes desse momento. Escolhe um momento mais cedo, ou lê as mais "
         "novas."},
        {"This topic retains 1 message, but it did not come back from where this read started.",
         "Este tópico retém 1 mensagem, mas ela não voltou de onde esta leitura começou."},
        {"Nothing read from that moment on", "Nada lido desse momento em diante"},
        {"Asked for the first message at or after %@, the broker answered %@, yet nothing came back from there.",
         "Pedi a primeira mensagem em %@ ou depois, o broker respondeu %@, e mesmo assim nada voltou dali."},
        {"nothing for p%d", "nada pra p%d"},
        {"none in p%d", "nenhuma na p%d"},
        {"p%d at offset %@", "p%d no offset %@"},
        {"1 more partition", "mais 1 partição"},
        {"%d more partitions", "mais %d partições"},
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
        {"partition", "partição"},
        {"partitions", "partições"},
        {"retained message", "mensagem retida"},
        {"retained", "retidas"},
        {"under-replicated", "sub-replicada"},
        {"Nothing retained", "Nada retido"},
        {"Either nothing was ever produced here, or retention aged it out. Tessaron can't tell which — and won't "
         "pretend "
         "to.",
         "Ou nunca produziram nada aqui, ou a retenção apagou tudo. O Tessaron não sabe dizer qual — e não vai fingir "
         "que "
         "sabe."},
        {"tombstone — this key is deleted", "tombstone — esta chave foi apagada"},
        {"Tombstone — this key is deleted. Not an empty message.",
         "Tombstone — esta chave foi apagada. Não é uma mensagem vazia."},
        {"%d bytes of binary", "%d bytes de binário"},
        {"EXHIBIT %d", "PROVA %d"},
        {"Annotations", "Anotações"},
        {"The record", "O registro"},
        {"This one is among the %d that disagree.", "Esta está entre as %d que discordam."},
        {"Marked below, on the exact line where it differs.", "Marcado abaixo, na linha exata onde ela difere."},
        {"Copy", "Copiar"},
        {"Reading this queue will mark it.", "Ler esta fila vai deixar uma marca nela."},
        {"Nothing is lost. Every message goes straight back, and the queue depth does not change.",
         "Nada se perde. Toda mensagem volta na hora, e a profundidade da fila não muda."},
        {"But RabbitMQ marks each one as redelivered, permanently. A consumer that reads that flag as \"this is a "
         "retry\" "
         "will see every message Tessaron looked at as one.",
         "Mas o RabbitMQ marca cada uma como reentregue, pra sempre. Um consumidor que lê essa marca como \"isso é uma "
         "nova tentativa\" vai ver toda mensagem que o Tessaron olhou como uma."},
        {"Kafka has no such cost — this is the difference between a log and a queue, not something Tessaron can work "
         "around.",
         "O Kafka não tem esse custo — essa é a diferença entre um log e uma fila, não algo que o Tessaron consiga "
         "contornar."},
        {"Read it anyway", "Ler mesmo assim"},
        {"Asked once per open broker.", "Pergunto uma vez por broker aberto."},
        {"message", "mensagem"},
        {"consumer", "consumidor"},
        {"At a moment in time…", "Num momento no tempo…"},
        {"Read from a moment", "Ler a partir de um momento"},
        {"Previous month", "Mês anterior"},
        {"Next month", "Próximo mês"},
        {"Kafka indexes by timestamp, so this is a real seek — the broker answers with the offset. It is not a scan.",
         "O Kafka indexa por timestamp, então isso é uma busca de verdade — o broker responde com o offset. Não é uma "
         "varredura."},
        {"Go there", "Ir pra lá"},
        {"Find in these messages", "Buscar nestas mensagens"},
        {"%d of %d read", "%d de %d lidas"},
        {"Read further", "Ler mais"},
        {"%d read · the end of every partition", "%d lidas · o fim de todas as partições"},
        {"%d read · there is more", "%d lidas · tem mais"},
        {"The read was cut off", "A leitura foi cortada"},
        {"The broker stopped answering before this read came back, so nothing of it is shown. Try again once it "
         "answers.",
         "O broker parou de responder antes desta leitura voltar, então nada dela aparece. Tenta de novo quando ele "
         "responder."},
        {"%d read · %@ wouldn't read", "%d lidas · não deu pra ler %@"},
        {"Bound to nothing — only a direct publish by name reaches this queue.",
         "Não está ligada a nada — só uma publicação direta pelo nome chega nesta fila."},
        {"· nothing fans out to it", "· nenhuma outra exchange manda nada pra ela"},
        {"Open the group", "Abrir o grupo"},
        {"Tessaron can read the schema id off the wire, but not the body — that needs a Schema Registry. Add one on "
         "the "
         "broker's form.",
         "O Tessaron consegue ler o id do schema direto dos bytes, mas não o corpo — pra isso precisa de um Schema "
         "Registry. Adiciona um no formulário do broker."},
        {"Decoded with schema %d from the registry. The bytes on the broker are Avro; this is what they say.",
         "Decodificada com o schema %d do registry. Os bytes no broker são Avro; isto é o que eles dizem."},
        {"Only the first %lld of %lld bytes were read. Copy takes these bytes only, and no corrected copy is filed "
         "from them.",
         "Só os primeiros %lld de %lld bytes foram lidos. Copiar leva só esses bytes, e nenhuma cópia corrigida é "
         "protocolada a partir deles."},
        {"%d, key %@, %@", "%d, chave %@, %@"},
        {"%d, no key, %@", "%d, sem chave, %@"},
        {"%d, a key that is not text, %@", "%d, uma chave que não é texto, %@"},
        {"held by a consumer, unacknowledged — a read can't see it",
         "com um consumidor, sem ack — uma leitura não enxerga ela"},
        {"held by consumers, unacknowledged — a read can't see them",
         "com consumidores, sem ack — uma leitura não enxerga elas"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

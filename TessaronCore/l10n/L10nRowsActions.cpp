// Rows of the action sheets.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsActions()
{
    static const L10nRow table[] = {
        {"There is no topic to move the position on.", "Não há tópico onde mover a posição."},
        {"the one message he read with its headers", "a única mensagem que ele leu, com os cabeçalhos"},
        {"the newest %d of the %d messages he read with their headers",
         "as %d mais novas das %d mensagens que ele leu, com os cabeçalhos"},
        {"the broker's one consumer group", "o único grupo de consumidores do broker"},
        {"the broker's %d consumer groups", "os %d grupos de consumidores do broker"},
        {"Your question, this topic's figures and shape comparison, and %@ — to %@, signed in on this computer, which "
         "sends them to its own service. The consumer groups couldn't be listed, so it hears that, not a number. "
         "Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e %@ — pro %@, logado neste computador, "
         "que manda tudo pro serviço dele. Não deu pra listar os grupos de consumidores, então ele fica sabendo disso, "
         "não de um número. Nada sai da sua máquina pra um serviço escolhido pelo Tessaron."},
        {"Your question, this topic's figures and shape comparison, and %@ would go to an AI CLI signed in on this "
         "computer, to its own service, saying the consumer groups couldn't be listed. None is installed, so nothing "
         "will leave.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e %@ iriam pra uma CLI de IA logada neste "
         "computador, pro serviço dela, dizendo que não deu pra listar os grupos de consumidores. Nenhuma está "
         "instalada, então nada vai sair."},
        {"Your question, this topic's figures and shape comparison, and %@ — to the AI CLI signed in on this computer, "
         "which sends them to its own service. The consumer groups couldn't be listed, so it hears that, not a number. "
         "Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e %@ — pra CLI de IA logada neste "
         "computador, que manda tudo pro serviço dela. Não deu pra listar os grupos de consumidores, então ela fica "
         "sabendo disso, não de um número. Nada sai da sua máquina pra um serviço escolhido pelo Tessaron."},
        {"Your question, this topic's figures and shape comparison, %@, and %@ — to %@, signed in on this computer, "
         "which sends them to its own service. Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, %@ e %@ — pro %@, logado neste "
         "computador, que manda tudo pro serviço dele. Nada sai da sua máquina pra um serviço escolhido pelo "
         "Tessaron."},
        {"Your question, this topic's figures and shape comparison, %@, and %@ would go to an AI CLI signed in on this "
         "computer, to its own service. None is installed, so nothing will leave.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, %@ e %@ iriam pra uma CLI de IA logada "
         "neste computador, pro serviço dela. Nenhuma está instalada, então nada vai sair."},
        {"Your question, this topic's figures and shape comparison, %@, and %@ — to the AI CLI signed in on this "
         "computer, which sends them to its own service. Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, %@ e %@ — pra CLI de IA logada neste "
         "computador, que manda tudo pro serviço dela. Nada sai da sua máquina pra um serviço escolhido pelo "
         "Tessaron."},
        {"The one partition of %@ moves to its start, read from the broker when you move it.",
         "A única partição de %@ vai pro próprio começo, lido do broker na hora de mover."},
        {"Applies to the one partition of %@.", "Vale pra única partição de %@."},
        {"%@ · 1 message read", "%@ · 1 mensagem lida"},
        {"This message's key isn't UTF-8 text, so it can't be carried over. Type a key, or the copy goes without one.",
         "A chave desta mensagem não é texto UTF-8, então não dá pra trazer ela junto. Digita uma chave, ou a cópia "
         "vai "
         "sem nenhuma."},
        {"Before the start of p%d, which now begins at %@: its older messages were deleted, so that offset no longer "
         "exists. Type %@ or more, or choose “The beginning”.",
         "Antes do começo da p%d, que agora começa em %@: as mensagens mais antigas dela foram apagadas, então esse "
         "offset não existe mais. Digita %@ ou mais, ou escolhe “O começo”."},
        {"Before the start of %d partitions (%@): their older messages were deleted, so that offset no longer exists. "
         "Type %@ or more, or choose “The beginning”.",
         "Antes do começo de %d partições (%@): as mensagens mais antigas delas foram apagadas, então esse offset não "
         "existe mais. Digita %@ ou mais, ou escolhe “O começo”."},
        {"An offset can't be negative. Type 0 or more, or choose “The beginning”.",
         "Offset não pode ser negativo. Digita 0 ou mais, ou escolhe “O começo”."},
        {"Each of the %d partitions of %@ moves to its own start, read from the broker when you move it.",
         "Cada uma das %d partições de %@ vai pro próprio começo, lido do broker na hora de mover."},
        {"Each partition's start", "O começo de cada partição"},
        {"The offset each partition resumes from; left empty, each partition's start",
         "O offset de onde cada partição retoma; vazio, o começo de cada partição"},
        {"%@ will resume from the start of each partition.", "%@ vai retomar do começo de cada partição."},
        {"The start of p%d would not read (%@), so nothing was moved.",
         "Não deu pra ler o começo da p%d (%@), então nada foi movido."},
        {"Offsets can only be reset while %@ is inactive, but it is %@. Stop its consumers first — moving the position "
         "of a running group makes it reprocess, and it will commit over this within seconds anyway.",
         "Os offsets só podem ser movidos enquanto %@ está inativo, mas ele está %@. Pare os consumidores dele "
         "primeiro — mover a posição de um grupo rodando faz ele reprocessar, e ele vai fazer commit por cima disso "
         "em segundos de qualquer jeito."},
        {"The broker refused to move %@: a consumer joined it after it was checked, so nothing was moved. Stop its "
         "consumers first, then move it again.",
         "O broker se recusou a mover %@: um consumidor entrou nele depois da checagem, então nada foi movido. Pare "
         "os consumidores dele primeiro e depois mova de novo."},
        {"May have been filed. Read the topic before filing again, or it may hold two copies.",
         "Pode ter sido protocolada. Lê o tópico antes de protocolar de novo, ou ele pode ficar com duas cópias."},
        {"May have moved. Look at the group's offsets before moving it again.",
         "Pode ter sido movido. Olha os offsets do grupo antes de mover de novo."},
        {"Tessaron is reviewing the record…", "O Tessaron está revisando os autos…"},
        {"Ask your topic", "Pergunta ao seu tópico"},
        {"%@ · %d messages read", "%@ · %d mensagens lidas"},
        {"The question", "A pergunta"},
        {"What would you like to know?", "O que você quer saber?"},
        {"What Tessaron will send", "O que o Tessaron vai enviar"},
        {"THE OPINION", "O PARECER"},
        {"Close", "Fechar"},
        {"What is this topic for?", "Pra que serve este tópico?"},
        {"What do these messages have in common?", "O que essas mensagens têm em comum?"},
        {"Why would a consumer reject these?", "Por que um consumidor rejeitaria essas?"},
        {"Is anything here malformed or suspicious?", "Tem alguma coisa malformada ou suspeita aqui?"},
        {"File a message", "Protocolar uma mensagem"},
        {"Filing…", "Protocolando…"},
        {"DOCKET %@ · A NEW ENTRY ON THE RECORD", "PROCESSO %@ · UMA NOVA ENTRADA NOS AUTOS"},
        {"Where", "Onde"},
        {"What", "O quê"},
        {"Why", "Por quê"},
        {"Key (optional)", "Chave (opcional)"},
        {"Reprocessing after the schema fix", "Reprocessando depois da correção do schema"},
        {"Travels with the message as a tessaron-reason header, so whoever finds it later knows it came from here and "
         "why.",
         "Vai junto com a mensagem num cabeçalho tessaron-reason, pra quem achar ela depois saber que veio daqui e por "
         "quê."},
        {"This adds a real message to a real topic.", "Isso adiciona uma mensagem de verdade a um tópico de verdade."},
        {"This adds a real message to a real queue.", "Isso adiciona uma mensagem de verdade a uma fila de verdade."},
        {"Move the record", "Mover o registro"},
        {"Move it", "Mover"},
        {"Moving…", "Movendo…"},
        {"Resume from", "Retomar de"},
        {"Applies to all %d partitions of %@.", "Vale pras %d partições de %@."},
        {"Nobody is consuming this group, so nothing will fight you.",
         "Ninguém está consumindo este grupo, então nada vai brigar com você."},
        {"%@ is %@ — Tessaron will refuse. Stop its consumers first: a running group reprocesses everything and "
         "commits "
         "over the change within seconds.",
         "%@ está %@ — o Tessaron vai recusar. Pare os consumidores dele primeiro: um grupo rodando reprocessa tudo e "
         "faz "
         "commit por cima da mudança em segundos."},
        {"Replaying after the consumer fix", "Reprocessando depois da correção do consumidor"},
        {"This makes a real consumer group reprocess.", "Isso faz um grupo de consumidores de verdade reprocessar."},
        {"Past the end of p%d, which ends at %@. Kafka will accept it; the consumer's next read is out of range, and "
         "its "
         "auto.offset.reset decides what happens — \"latest\" skips everything.",
         "Depois do fim da p%d, que termina em %@. O Kafka aceita; a próxima leitura do consumidor fica fora do "
         "intervalo, "
         "e o auto.offset.reset dele decide o que acontece — \"latest\" pula tudo."},
        {"Past the end of %d partitions (%@). Kafka will accept it; each consumer's next read is out of range, and its "
         "auto.offset.reset decides what happens — \"latest\" skips everything.",
         "Depois do fim de %d partições (%@). O Kafka aceita; a próxima leitura de cada consumidor fica fora do "
         "intervalo, "
         "e o auto.offset.reset dele decide o que acontece — \"latest\" pula tudo."},
        {"This message is Avro. What you see is the decoded record; filing it back would put JSON on a topic every "
         "consumer reads as Avro — the copy would be the broken message. Tessaron can't re-encode with the schema yet, "
         "so "
         "he won't file this one.",
         "Esta mensagem é Avro. O que você vê é o registro decodificado; protocolar de volta poria JSON num tópico que "
         "todo consumidor lê como Avro — a cópia seria a mensagem quebrada. O Tessaron ainda não sabe recodificar com "
         "o "
         "schema, então não vai protocolar esta."},
        {"Only the first %lld of this message's %lld bytes were read: a copy would file them as if they were the "
         "whole message, so Tessaron won't file this one.",
         "Só os primeiros %lld dos %lld bytes desta mensagem foram lidos: uma cópia os protocolaria como se fossem a "
         "mensagem inteira, então o Tessaron não vai protocolar esta."},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

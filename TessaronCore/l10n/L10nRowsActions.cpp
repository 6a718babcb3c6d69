// Rows of the action sheets.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsActions()
{
    static const L10nRow table[] = {
        {"Your question, this topic's figures and shape comparison, and the newest %d of the %d messages he read with "
         "their headers — to %@, signed in on this computer, which sends them to its own service. The consumer groups "
         "couldn't be listed, so it hears that, not a number. Nothing leaves your machine for a service Tessaron "
         "chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e as %d mais novas das %d mensagens que "
         "ele leu, com os cabeçalhos — pro %@, logado neste computador, que manda tudo pro serviço dele. Não deu pra "
         "listar os grupos de consumidores, então ele fica sabendo disso, não de um número. Nada sai da sua máquina "
         "pra um serviço escolhido pelo Tessaron."},
        {"Your question, this topic's figures and shape comparison, and the newest %d of the %d messages he read with "
         "their headers would go to an AI CLI signed in on this computer, to its own service, saying the consumer "
         "groups couldn't be listed. None is installed, so nothing will leave.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e as %d mais novas das %d mensagens que "
         "ele leu, com os cabeçalhos, iriam pra uma CLI de IA logada neste computador, pro serviço dela, dizendo que "
         "não deu pra listar os grupos de consumidores. Nenhuma está instalada, então nada vai sair."},
        {"Your question, this topic's figures and shape comparison, and the newest %d of the %d messages he read with "
         "their headers — to the AI CLI signed in on this computer, which sends them to its own service. The consumer "
         "groups couldn't be listed, so it hears that, not a number. Nothing leaves your machine for a service "
         "Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico e as %d mais novas das %d mensagens que "
         "ele leu, com os cabeçalhos — pra CLI de IA logada neste computador, que manda tudo pro serviço dela. Não deu "
         "pra listar os grupos de consumidores, então ela fica sabendo disso, não de um número. Nada sai da sua "
         "máquina pra um serviço escolhido pelo Tessaron."},
        {"This message's key isn't UTF-8 text, so it can't be carried over. Type a key, or the copy goes without one.",
         "A chave desta mensagem não é texto UTF-8, então não dá pra trazer ela junto. Digita uma chave, ou a cópia "
         "vai "
         "sem nenhuma."},
        {"Before the start of p%d, which now begins at %@: its older messages were deleted. Kafka will accept it; the "
         "consumer's next read is out of range, and its auto.offset.reset decides what happens — \"latest\" skips "
         "everything.",
         "Antes do começo da p%d, que agora começa em %@: as mensagens mais antigas dela foram apagadas. O Kafka "
         "aceita; a próxima leitura do consumidor fica fora do intervalo, e o auto.offset.reset dele decide o que "
         "acontece — \"latest\" pula tudo."},
        {"Before the start of %d partitions (%@): their older messages were deleted. Kafka will accept it; each "
         "consumer's next read is out of range, and its auto.offset.reset decides what happens — \"latest\" skips "
         "everything.",
         "Antes do começo de %d partições (%@): as mensagens mais antigas delas foram apagadas. O Kafka aceita; a "
         "próxima leitura de cada consumidor fica fora do intervalo, e o auto.offset.reset dele decide o que acontece "
         "— \"latest\" pula tudo."},
        {"An offset can't be negative. Type 0 or more — 0 is the beginning.",
         "Offset não pode ser negativo. Digita 0 ou mais — 0 é o começo."},
        {"May have been filed. Read the topic before filing again, or it may hold two copies.",
         "Pode ter sido protocolada. Lê o tópico antes de protocolar de novo, ou ele pode ficar com duas cópias."},
        {"May have moved. Look at the group's offsets before moving it again.",
         "Pode ter mudado. Olha os offsets do grupo antes de mudar de novo."},
        {"Your question, this topic's figures and shape comparison, the broker's %d consumer groups, and the newest %d "
         "of the %d messages he read with their headers — to %@, signed in on this computer, which sends them to its "
         "own service. Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, os %d grupos de consumidores do broker e "
         "as %d mais novas das %d mensagens que ele leu, com os cabeçalhos — pro %@, logado neste computador, que "
         "manda tudo pro serviço dele. Nada sai da sua máquina pra um serviço escolhido pelo Tessaron."},
        {"Your question, this topic's figures and shape comparison, the broker's %d consumer groups, and the newest %d "
         "of the %d messages he read with their headers would go to an AI CLI signed in on this computer, to its own "
         "service. None is installed, so nothing will leave.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, os %d grupos de consumidores do broker e "
         "as %d mais novas das %d mensagens que ele leu, com os cabeçalhos, iriam pra uma CLI de IA logada neste "
         "computador, pro serviço dela. Nenhuma está instalada, então nada vai sair."},
        {"Your question, this topic's figures and shape comparison, the broker's %d consumer groups, and the newest %d "
         "of the %d messages he read with their headers — to the AI CLI signed in on this computer, which sends them "
         "to its own service. Nothing leaves your machine for a service Tessaron chose.",
         "A sua pergunta, os números e a comparação de formatos deste tópico, os %d grupos de consumidores do broker e "
         "as %d mais novas das %d mensagens que ele leu, com os cabeçalhos — pra CLI de IA logada neste computador, "
         "que manda tudo pro serviço dela. Nada sai da sua máquina pra um serviço escolhido pelo Tessaron."},
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
        {"Move the record", "Mudar o registro"},
        {"Move it", "Pode mudar"},
        {"Moving…", "Mudando…"},
        {"Resume from", "Retomar de"},
        {"Applies to all %d partitions of %@.", "Vale pras %d partições de %@."},
        {"Nobody is consuming this group, so nothing will fight you.",
         "Ninguém está consumindo este grupo, então nada vai brigar com você."},
        {"%@ is %@ — Tessaron will refuse. Stop its consumers first: a running group reprocesses everything and "
         "commits "
         "over the change within seconds.",
         "%@ está %@ — o Tessaron vai recusar. Para os consumidores dele primeiro: um grupo rodando reprocessa tudo e "
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
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

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
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

// Rows of the workspace and its sidebar.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsWorkspace()
{
    static const L10nRow table[] = {
        {"I couldn't list the topics on this broker.", "Não consegui listar os tópicos deste broker."},
        {"I couldn't list the queues on this broker.", "Não consegui listar as filas deste broker."},
        {"Broker", "O broker"},
        {"Namespace", "Espaço de nomes"},
        {"Search topics", "Buscar tópicos"},
        {"Dead letters", "Cartas mortas"},
        {"No topics on this broker.", "Nenhum tópico neste broker."},
        {"The broker shows this user no topics. It lists only what the user's ACLs allow, and says nothing of the "
         "rest.",
         "O broker não mostra nenhum tópico pra este usuário. Ele só lista o que as ACLs do usuário permitem, e não "
         "diz nada do resto."},
        {"Nothing matches \"%@\".", "Nada bate com \"%@\"."},
        {"%d retained", "%d retidas"},
        {"Under-replicated", "Sub-replicado"},
        {"Where am I looking?", "Onde estou olhando?"},
        {"Everything", "Tudo"},
        {"The first segment of a topic name", "O primeiro pedaço do nome de um tópico"},
        {"Topic", "Tópico"},
        {"The log itself. The number beside it is what it still retains, not everything ever produced.",
         "O próprio log. O número do lado é o que ele ainda retém, não tudo o que já foi produzido."},
        {"File…", "Protocolar…"},
        {"The broker stopped answering.", "O broker parou de responder."},
        {"What is on screen is what it last said. %@", "O que está na tela é o que ele disse por último. %@"},
        {"Try again", "Tentar de novo"},
        {"Pinned", "Fixado"},
        {"Copy Name", "Copiar nome"},
        {"The broker doesn't list it anymore.", "O broker não lista mais ele."},
        {"Pinned here, but the broker's last listing didn't include it. Deleted, renamed, or filtered — Tessaron can't "
         "tell which.",
         "Fixado aqui, mas a última listagem do broker não incluiu ele. Apagado, renomeado ou filtrado — o Tessaron "
         "não "
         "sabe dizer qual."},
        {"More", "Mais"},
        {"THIS BROKER", "ESTE BROKER"},
        {"The tab, not the broker. He leaves it as he found it.",
         "A aba, não o broker. Ele deixa tudo como encontrou."},
        {"BROKERS ON FILE", "BROKERS REGISTRADOS"},
        {"Just the one. He's not complaining.", "Só um. Ele não está reclamando."},
        {"%d on file. Each opens in its own tab.", "%d registrados. Cada um abre na sua própria aba."},
        {"open", "aberto"},
        {"FOLDERS", "PASTAS"},
        {"He made these up from the names. They work anyway.",
         "Ele inventou essas a partir dos nomes. Funcionam mesmo assim."},
        {"List options", "Opções da lista"},
        {"THE LIST", "A LISTA"},
        {"__consumer_offsets and friends. His bookkeeping, not yours.",
         "__consumer_offsets e companhia. A contabilidade dele, não a sua."},
        {"WHERE AM I LOOKING", "ONDE ESTOU OLHANDO"},
        {"Three levels. He only invented the middle one.", "Três níveis. Ele só inventou o do meio."},
        {"One cluster. Switching opens another tab; nothing here is touched.",
         "Um cluster. Trocar abre outra aba; nada aqui é tocado."},
        {"Folder", "Pasta"},
        {"Kafka has no folders — topics are a flat list. But everyone names them in parts, like orders.events and "
         "orders.events.dlq, so he treats the first part as one. It only appears when a cluster actually names things "
         "that "
         "way.",
         "O Kafka não tem pastas — os tópicos são uma lista plana. Mas todo mundo dá nome em partes, tipo "
         "orders.events e "
         "orders.events.dlq, então ele trata a primeira parte como uma. Só aparece quando o cluster dá nomes assim de "
         "verdade."},
        {"Search queues", "Buscar filas"},
        {"Sidebar", "Barra lateral"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

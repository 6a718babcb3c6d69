// Rows of case notes, the consumer group screen and the briefing.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsCasework()
{
    static const L10nRow table[] = {
        {"Gone.", "Sumiu."},
        {"The broker doesn't know this group any more: no members, nothing committed. It was deleted, or its commits "
         "expired.",
         "O broker não conhece mais este grupo: nenhum membro, nenhum commit. Ou ele foi apagado, ou os commits "
         "expiraram."},
        {"…and 1 more difference", "…e mais 1 diferença"},
        {"1 Avro message and no Schema Registry to read it with. Add one on the broker's form and I'll open it.",
         "1 mensagem Avro e nenhum Schema Registry pra ler ela. Adiciona um no formulário do broker e eu abro."},
        {"1 Avro message the registry couldn't read for me. Its row says why.",
         "1 mensagem Avro que o registry não conseguiu ler pra mim. A linha dela diz por quê."},
        {"One has a key; the other has none I can read. Nothing is crowding a partition.",
         "Uma tem chave; a outra não tem nenhuma que eu consiga ler. Nada está lotando uma partição."},
        {"%d have a key each, no repeats; the other one has none I can read. Nothing is crowding a partition.",
         "%d têm uma chave cada, sem repetir; a outra não tem nenhuma que eu consiga ler. Nada está lotando uma "
         "partição."},
        {"One queue.", "Uma fila."},
        {"One topic.", "Um tópico."},
        {"%@ has 1 message waiting. That's usually why you're here.",
         "%@ tem 1 mensagem esperando. Normalmente é por isso que você está aqui."},
        {"%@ behind, all of it on %@, its one partition.", "%@ de atraso, tudo em %@, a única partição dele."},
        {"Nobody's in the group and it's 1 offset behind. That's the shape of a consumer that died — the lag kept "
         "being a number, so nobody noticed.",
         "Não tem ninguém no grupo e ele está 1 offset atrás. Esse é o jeitão de um consumidor que morreu — o lag "
         "continuou sendo só um número, então ninguém percebeu."},
        {"One member and nothing committed, anywhere. Either it's never finished a batch, or it commits somewhere "
         "Tessaron can't see.",
         "Um membro e nenhum commit, em lugar nenhum. Ou ele nunca terminou um lote, ou faz commit num lugar que o "
         "Tessaron não vê."},
        {"Nothing waits on the one partition whose end Tessaron can see, but the end of %d more wouldn't read. No "
         "verdict until it can see them.",
         "Nada espera na única partição cujo fim o Tessaron consegue ver, mas o fim de mais %d não pôde ser lido. Sem "
         "veredito até ele conseguir ver."},
        {"It committed on one partition and Tessaron can't see its end — the topic isn't listed, or its watermarks "
         "wouldn't read. No verdict.",
         "Ele fez commit em uma partição e o Tessaron não vê o fim dela — o tópico não está listado, ou não deu pra "
         "ler os watermarks dele. Sem veredito."},
        {"One has a key; the other %d have none I can read. Nothing is crowding a partition.",
         "Uma tem chave; as outras %d não têm nenhuma que eu consiga ler. Nada está lotando uma partição."},
        {"%d have a key each, no repeats; the other %d have none I can read. Nothing is crowding a partition.",
         "%d têm uma chave cada, sem repetir; as outras %d não têm nenhuma que eu consiga ler. Nada está lotando uma "
         "partição."},
        {"I couldn't list the consumer groups, so I can't tell you who's reading.",
         "Não consegui listar os grupos de consumidores, então não sei dizer quem está lendo."},
        {"CONSUMER GROUPS", "GRUPOS DE CONSUMIDORES"},
        {"CAN'T SEE", "NÃO DÁ PRA VER"},
        {"Only %d readable here — too few to call a pattern.",
         "Só %d legíveis aqui — pouco demais pra falar em padrão."},
        {"No objection. All %d agree on their shape.", "Sem protestos. Todas as %d concordam no formato."},
        {"No two agree — %d shapes across %d messages. Tessaron won't pick a winner.",
         "Nenhuma concorda — %d formatos em %d mensagens. O Tessaron não vai escolher um vencedor."},
        {"%d of %d disagree with the rest", "%d de %d discordam das demais"},
        {"…and %d more differences", "…e mais %d diferenças"},
        {"is %@ here, %@ in the rest", "é %@ aqui, %@ nas demais"},
        {"only appears here, as %@", "só aparece aqui, como %@"},
        {"is missing here — the rest carry %@", "falta aqui — as demais trazem %@"},
        {"Objection", "Protesto"},
        {"%d partitions, all empty. Nothing to chart yet.", "%d partições, todas vazias. Nada pra desenhar ainda."},
        {"%lld across %d partitions — too few to call the spread.",
         "%lld em %d partições — pouco demais para opinar sobre a distribuição."},
        {"Spread evenly across %d partitions.", "Distribuído por igual entre %d partições."},
        {"p%d is holding %d%% of it.", "A p%d está segurando %d%% de tudo."},
        {"p%d is holding %d%% of it, and p%d has none.", "A p%d está segurando %d%% de tudo, e a p%d não tem nada."},
        {"p%d has almost nothing while the rest are full.",
         "A p%d quase não tem nada enquanto as outras estão cheias."},
        {"%d partitions have almost nothing while the rest are full.",
         "%d partições quase não têm nada enquanto as outras estão cheias."},
        {"Retained right now — not what was produced.", "Retido agora — não o que foi produzido."},
        {"p%d — %lld retained (%d%%)", "p%d — %lld retidas (%d%%)"},
        {"CONSUMER GROUP", "GRUPO DE CONSUMIDORES"},
        {"…and %d more, in the sidebar.", "…e mais %d, na barra lateral."},
        {"Look again", "Olhar de novo"},
        {"The broker wouldn't describe it.", "O broker não quis descrever ele."},
        {"Not a consumer group", "Não é um grupo de consumidores"},
        {"The broker lists %@ as a group of another kind, such as a share or streams group. Tessaron reads consumer "
         "groups only; Kafka's own tools describe this one.",
         "O broker lista %@ como um grupo de outro tipo, como um grupo de compartilhamento ou de streams. "
         "O Tessaron lê só grupos de consumidores; as ferramentas do próprio Kafka descrevem este."},
        {"member", "membro"},
        {"members", "membros"},
        {"topic", "tópico"},
        {"topics", "tópicos"},
        {"behind", "de atraso"},
        {"coordinator", "coordenador"},
        {"partition he can't see", "partição que ele não vê"},
        {"partitions he can't see", "partições que ele não vê"},
        {"Caught up.", "Em dia."},
        {"Behind.", "Atrasado."},
        {"Nobody home.", "Ninguém em casa."},
        {"Nobody home. Nothing waiting.", "Ninguém em casa. Nada esperando."},
        {"Mid-rebalance.", "No meio de um rebalance."},
        {"Never committed.", "Nunca fez commit."},
        {"Can't see.", "Não dá pra ver."},
        {"Its one partition is read to the end. Whatever's wrong, it isn't this group.",
         "A única partição dele está lida até o fim. Seja lá o que estiver errado, não é este grupo."},
        {"All %d partitions are read to the end. Whatever's wrong, it isn't this group.",
         "Todas as %d partições estão lidas até o fim. Seja lá o que estiver errado, não é este grupo."},
        {"%@ behind across %d partitions, and %@ carries %d%% of it. Start there — one partition far behind the rest "
         "is "
         "usually one consumer, not the whole group.",
         "%@ de atraso em %d partições, e %@ carrega %d%% disso. Começa por ali — uma partição muito atrás das outras "
         "costuma ser um consumidor, não o grupo inteiro."},
        {"%@ behind, spread across %d partitions with no one of them standing out. That's the shape of consumers that "
         "are "
         "simply slower than the producers.",
         "%@ de atraso, espalhado por %d partições sem nenhuma se destacar. Esse é o jeitão de consumidores que são "
         "simplesmente mais lentos que os produtores."},
        {"Nobody's in the group and it's %@ offsets behind. That's the shape of a consumer that died — the lag kept "
         "being a number, so nobody noticed.",
         "Não tem ninguém no grupo e ele está %@ offsets atrás. Esse é o jeitão de um consumidor que morreu — o lag "
         "continuou sendo só um número, então ninguém percebeu."},
        {"Nobody's in the group, but it left nothing behind. A batch job between runs, or a consumer that shut down "
         "cleanly.",
         "Não tem ninguém no grupo, mas ele não deixou nada pra trás. Um job em lote entre execuções, ou um consumidor "
         "que "
         "desligou direitinho."},
        {"%@. The positions are moving while this is true; Tessaron will judge them once it settles. Look again in a "
         "moment.",
         "%@. As posições estão mudando enquanto isso dura; o Tessaron julga quando assentar. Olha de novo daqui a "
         "pouco."},
        {"No members and nothing committed, anywhere. The broker remembers the name and nothing else.",
         "Sem membros e sem nenhum commit, em lugar nenhum. O broker lembra o nome e mais nada."},
        {"%d members and nothing committed, anywhere. Either they've never finished a batch, or they commit somewhere "
         "Tessaron can't see.",
         "%d membros e nenhum commit, em lugar nenhum. Ou eles nunca terminaram um lote, ou fazem commit num lugar que "
         "o "
         "Tessaron não vê."},
        {"Open the topic %@", "Abrir o tópico %@"},
        {"Tessaron can't see who's in it: the broker wouldn't describe its members.",
         "O Tessaron não vê quem está nele: o broker não quis descrever os membros."},
        {"The broker lists it as %@ but describes it as Dead, as it does a group of the new consumer protocol, "
         "whose members Tessaron can't read.",
         "O broker lista ele como %@ mas descreve como Dead, como faz com um grupo do novo protocolo de consumo, "
         "cujos membros o Tessaron não consegue ler."},
        {"unknown", "desconhecido"},
        {"Move the position on %@…", "Mover a posição em %@…"},
        {"The end of %@ wouldn't read, so the lag there is unknown.",
         "O fim de %@ não pôde ser lido, então o atraso ali é desconhecido."},
        {"Nothing waits on the %d partitions whose end Tessaron can see, but the end of %d more wouldn't read. No "
         "verdict until it can see them.",
         "Nada espera nas %d partições cujo fim o Tessaron consegue ver, mas o fim de mais %d não pôde ser lido. Sem "
         "veredito até dar pra ver."},
        {"It committed on %d partitions and Tessaron can't see the end of any of them — the topics aren't listed, or "
         "their "
         "watermarks wouldn't read. No verdict.",
         "Ele fez commit em %d partições e o Tessaron não vê o fim de nenhuma delas — os tópicos não estão listados, "
         "ou não "
         "deu pra ler os watermarks deles. Sem veredito."},
        {"Tessaron couldn't read where it committed, so it can't say whether it committed at all, or how far behind "
         "it is. No verdict.",
         "O Tessaron não conseguiu ler onde ele fez commit, então não dá pra dizer se ele já fez commit, nem quanto "
         "está atrasado. Sem veredito."},
        {"WHO'S READING", "QUEM ESTÁ LENDO"},
        {"Nobody yet — they're being seated.", "Ninguém ainda — estão sendo acomodados."},
        {"Nobody. The group has no members right now.", "Ninguém. O grupo está sem membros agora."},
        {"Partitions dealt by %@.", "Partições distribuídas por %@."},
        {"Static membership id", "Id de membro estático"},
        {"Holding nothing.", "Não segura nada."},
        {"WHERE IT STANDS", "ONDE ELE ESTÁ"},
        {"AND ON", "E EM"},
        {"Open the topic", "Abrir o tópico"},
        {"caught up", "em dia"},
        {"%@ behind", "%@ de atraso"},
        {"Move the position…", "Mover a posição…"},
        {"Reset this group's committed offsets on this topic. Refused while the group has members.",
         "Redefinir os offsets com commit deste grupo neste tópico. Recusado enquanto o grupo tiver membros."},
        {"The broker doesn't list this topic anymore. The positions are what the group last committed; there is no end "
         "to "
         "measure them against.",
         "O broker não lista mais este tópico. As posições são as do último commit do grupo; não tem fim contra o qual "
         "medir."},
        {"Its watermarks wouldn't read: %@", "Não deu pra ler os watermarks dele: %@"},
        {"No positions. A group that has never committed has nowhere to stand, and nothing here to measure.",
         "Sem posições. Um grupo que nunca fez commit não tem onde pisar, e não tem nada aqui pra medir."},
        {"Committed on, but not in the broker's listing. Deleted, or Tessaron isn't allowed to see it.",
         "Tem commit, mas não está na listagem do broker. Apagado, ou o Tessaron não tem permissão pra ver."},
        {"committed", "commit"},
        {"end", "fim"},
        {"held by", "nas mãos de"},
        {"No end to measure against — the topic isn't listed, or its watermarks wouldn't read.",
         "Sem fim pra medir — o tópico não está listado, ou não deu pra ler os watermarks dele."},
        {"nobody", "ninguém"},
        {"past the end", "depois do fim"},
        {"Committed beyond where the partition ends. The consumer's next read is out of range, and its "
         "auto.offset.reset "
         "decides what happens — possibly skipping to the latest.",
         "Commit além de onde a partição termina. A próxima leitura do consumidor fica fora do intervalo, e o "
         "auto.offset.reset dele decide o que acontece — talvez pulando pro mais recente."},
        {"ARRIVAL REPORT", "RELATÓRIO DE CHEGADA"},
        {"I had a sniff around.", "Dei uma farejada por aí."},
        {"WHERE THE MESSAGES ARE", "ONDE ESTÃO AS MENSAGENS"},
        {"%d queues.", "%d filas."},
        {"%d topics.", "%d tópicos."},
        {"I couldn't list the topics on this broker, so I have nothing to report.",
         "Não consegui listar os tópicos deste broker, então não tenho nada pra relatar."},
        {"I couldn't list the queues on this broker, so I have nothing to report.",
         "Não consegui listar as filas deste broker, então não tenho nada pra relatar."},
        {"Nothing to report. Either this broker is empty, or I couldn't see into it — the left-hand side says which.",
         "Nada a relatar. Ou este broker está vazio, ou eu não consegui enxergar dentro dele — o lado esquerdo diz "
         "qual."},
        {"%@ has %lld messages waiting. That's usually why you're here.",
         "%@ tem %lld mensagens esperando. Normalmente é por isso que você está aqui."},
        {"The dead letters are all empty. Good so far.", "As cartas mortas estão todas vazias. Até aqui, tudo bem."},
        {"Nothing I'd call a dead letter. Which doesn't mean there isn't one.",
         "Nada que eu chamaria de carta morta. O que não quer dizer que não tenha uma."},
        {"All of them empty. Either nobody published, or a consumer got there first.",
         "Todas vazias. Ou ninguém publicou, ou um consumidor chegou primeiro."},
        {"All of them empty — never produced, or aged out. I can't tell which, and I won't guess.",
         "Todos vazios — nunca produziram, ou expirou. Não sei dizer qual, e não vou chutar."},
        {"One of them is empty. Either nobody published, or a consumer got there first.",
         "Uma delas está vazia. Ou ninguém publicou, ou um consumidor chegou primeiro."},
        {"One of them is empty — never produced, or aged out. I can't tell which, and I won't guess.",
         "Um deles está vazio — nunca produziram, ou expirou. Não sei dizer qual, e não vou chutar."},
        {"%d of them are empty. Either nobody published, or a consumer got there first.",
         "%d delas estão vazias. Ou ninguém publicou, ou um consumidor chegou primeiro."},
        {"%d of them are empty — never produced, or aged out. I can't tell which, and I won't guess.",
         "%d deles estão vazios — nunca produziram, ou expirou. Não sei dizer qual, e não vou chutar."},
        {"Everything is at zero.", "Está tudo em zero."},
        {"By what each one is holding", "Pelo que cada um está segurando"},
        {"Not a chart I enjoy drawing, but it's the true one.",
         "Não é um gráfico que eu goste de desenhar, mas é o verdadeiro."},
        {"DEAD LETTERS", "CARTAS MORTAS"},
        {"None I recognise by name. I'd still look.", "Nenhuma que eu reconheça pelo nome. Mesmo assim eu olharia."},
        {"…and %d more", "…e mais %d"},
        {"No consumer groups this user may see. The broker hides the rest without saying so.",
         "Nenhum grupo de consumidores que este usuário possa ver. O broker esconde o resto sem avisar."},
        {"Only those this user may see.", "Só os que este usuário pode ver."},
        {"Nothing I'm allowed to see. The broker lists only what this user's ACLs allow, and says nothing of the rest.",
         "Nada que eu tenha permissão pra ver. O broker só lista o que as ACLs deste usuário permitem, e não diz nada "
         "do resto."},
        {"The broker lists only what this user's ACLs allow: there may be more.",
         "O broker só lista o que as ACLs deste usuário permitem: pode haver mais."},
        {"No consumer groups. Nobody's reading yet — or nobody has committed.",
         "Nenhum grupo de consumidores. Ninguém está lendo ainda — ou ninguém fez commit."},
        {"One group, and someone is in it.", "Um grupo, e tem alguém nele."},
        {"One group, and nobody is in it.", "Um grupo, e não tem ninguém nele."},
        {"%d groups, all with members.", "%d grupos, todos com membros."},
        {"%d groups. One with nobody in it.", "%d grupos. Um sem ninguém."},
        {"%d groups. %d with nobody in them.", "%d grupos. %d sem ninguém."},
        {"CONSUMERS", "CONSUMIDORES"},
        {"Every queue with messages has someone on it.", "Toda fila com mensagens tem alguém nela."},
        {"One queue has messages and no consumer.", "Uma fila tem mensagens e nenhum consumidor."},
        {"%d queues have messages and no consumer.", "%d filas têm mensagens e nenhum consumidor."},
        {"The list on the left will say whether that's an empty broker or one I was refused.",
         "A lista da esquerda vai dizer se isso é um broker vazio ou um que me barrou."},
        {"Pick a queue. Reading one costs something there, so I'll ask first.",
         "Escolhe uma fila. Ler uma tem um custo ali, então eu pergunto antes."},
        {"Pick a topic. I'll read its tail — no group joined, nothing committed.",
         "Escolhe um tópico. Eu leio o final dele — sem entrar em grupo, sem commit."},
        {"CASE NOTES", "ANOTAÇÕES DO CASO"},
        {"Objection.", "Protesto."},
        {"No objection.", "Sem protestos."},
        {"No winner.", "Sem vencedor."},
        {"Read.", "Lido."},
        {"One of the %d disagrees with the rest — on %@. Start there.",
         "Uma das %d discorda das demais — em %@. Começa por ali."},
        {"%d of the %d disagree with the rest — on %@. Start with those.",
         "%d das %d discordam das demais — em %@. Começa por elas."},
        {"All %d agree on their shape. Whatever went wrong here, it wasn't the format.",
         "Todas as %d concordam no formato. Seja lá o que deu errado aqui, não foi o formato."},
        {"%d shapes across %d messages and none of them a majority. I won't crown one.",
         "%d formatos em %d mensagens e nenhum é maioria. Não vou coroar nenhum."},
        {"Only %d readable here — too few to call a pattern. I can still show you what's in them.",
         "Só %d legíveis aqui — pouco demais pra falar em padrão. Mesmo assim posso te mostrar o que tem nelas."},
        {"Nothing retained to read.", "Nada retido pra ler."},
        {"Nothing here I can compare — tombstones, binary, or JSON that isn't an object. I'll show what I have.",
         "Nada aqui que eu consiga comparar — tombstones, binário, ou JSON que não é objeto. Vou mostrar o que eu "
         "tenho."},
        {"THE ONES THAT DISAGREE", "AS QUE DISCORDAM"},
        {"Start here", "Começa por aqui"},
        {"…and %d more, marked in the list.", "…e mais %d, marcadas na lista."},
        {"WHO'S SENDING", "QUEM ESTÁ ENVIANDO"},
        {"Nothing read yet.", "Nada lido ainda."},
        {"No keys on any of these. Without a key the partitioner deals round-robin, so where a message landed is luck, "
         "not "
         "a choice.",
         "Nenhuma dessas tem chave. Sem chave o particionador distribui em rodízio, então onde uma mensagem caiu é "
         "sorte, "
         "não escolha."},
        {"Every one has its own key — %d of them, no repeats. Nothing is crowding a partition.",
         "Cada uma tem sua própria chave — %d delas, sem repetição. Nada está lotando uma partição."},
        {"seen %d", "vi %d"},
        {"One key is carrying about %d%% of this topic. That is usually what a hot partition looks like from the "
         "inside.",
         "Uma chave está carregando uns %d%% deste tópico. Normalmente é assim que uma partição quente parece vista de "
         "dentro."},
        {"No single key is crowding this topic.", "Nenhuma chave sozinha está lotando este tópico."},
        {"Estimated from the %d read, weighted by what each partition holds — the tail is read per partition, so a "
         "flat "
         "count would call a quiet partition as loud as a busy one.",
         "Estimado a partir das %d lidas, ponderado pelo que cada partição guarda — o final é lido por partição, então "
         "uma "
         "contagem simples acharia uma partição quieta tão barulhenta quanto uma movimentada."},
        {"From the %d read with a key. Says nothing about the ones I haven't.",
         "A partir das %d lidas com chave. Não diz nada sobre as que eu não li."},
        {"Pick a row. I'll open the file.", "Escolhe uma linha. Eu abro a ficha."},
        {"%d Avro messages the registry couldn't read for me. Each row says why.",
         "%d mensagens Avro que o registry não conseguiu ler pra mim. Cada linha diz por quê."},
        {"%d Avro messages and no Schema Registry to read them with. Add one on the broker's form and I'll open them.",
         "%d mensagens Avro e nenhum Schema Registry pra ler elas. Adiciona um no formulário do broker e eu abro."},
        {"Case notes", "Anotações do caso"},
        {"No routing key on any of these.", "Nenhuma dessas tem routing key."},
        {"One routing key is on about %d%% of these — in a queue that says who sent them, not where they pile up.",
         "Uma routing key está em uns %d%% dessas — numa fila isso diz quem mandou, não onde elas se acumulam."},
        {"No single routing key stands out in this queue.", "Nenhuma routing key sozinha se destaca nesta fila."},
        {"Arrival report", "Relatório de chegada"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

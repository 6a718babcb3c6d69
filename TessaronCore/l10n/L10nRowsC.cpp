// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"Open another broker", "Abrir outro broker"},
    {"Close this broker", "Fechar este broker"},
    {"Back to the open brokers", "Voltar aos brokers abertos"},
    {"Already open", "Já está aberto"},
    {"Reading this queue will mark it.", "Ler esta fila vai deixar uma marca nela."},
    {"Nothing is lost. Every message goes straight back, and the queue depth does not change.",
     "Nada se perde. Toda mensagem volta na hora, e a profundidade da fila não muda."},
    {"But RabbitMQ marks each one as redelivered, permanently. A consumer that reads that flag as \"this is a retry\" "
     "will see every message Tessaron looked at as one.",
     "Mas o RabbitMQ marca cada uma como reentregue, pra sempre. Um consumidor que lê essa marca como \"isso é uma "
     "nova tentativa\" vai ver toda mensagem que o Tessaron olhou como uma."},
    {"Kafka has no such cost — this is the difference between a log and a queue, not something Tessaron can work "
     "around.",
     "O Kafka não tem esse custo — essa é a diferença entre um log e uma fila, não algo que o Tessaron consiga "
     "contornar."},
    {"Read it anyway", "Ler mesmo assim"},
    {"Asked once per open broker.", "Pergunto uma vez por broker aberto."},
    {"Blank means RabbitMQ's default, \"/\".", "Em branco quer dizer o padrão do RabbitMQ, \"/\"."},
    {"Tessaron talks to the management API, not AMQP — the port is 15672 by default, and the plugin has to be on.",
     "O Tessaron conversa com a API de gerenciamento, não com o AMQP — a porta é 15672 por padrão, e o plugin tem que "
     "estar ligado."},
    {"RabbitMQ's own plumbing. Not yours to read.", "O encanamento do próprio RabbitMQ. Não é sua para ler."},
    {"Empty. Either nobody produced, or a consumer got there first.",
     "Vazia. Ou ninguém produziu, ou um consumidor chegou antes."},
    {"One message, waiting for someone to take it.", "Uma mensagem, esperando alguém pegar."},
    {"%d messages waiting. First in, first out — and only once.",
     "%d mensagens esperando. Primeira a entrar, primeira a sair — e só uma vez."},
    {"message", "mensagem"},
    {"messages", "mensagens"},
    {"consumer", "consumidor"},
    {"consumers", "consumidores"},
    {"The latest", "As mais recentes"},
    {"From offset %d", "A partir do offset %d"},
    {"From %@", "A partir de %@"},
    {"At a moment in time…", "Num momento no tempo…"},
    {"Read from a moment", "Ler a partir de um momento"},
    {"Kafka indexes by timestamp, so this is a real seek — the broker answers with the offset. It is not a scan.",
     "O Kafka indexa por timestamp, então isso é uma busca de verdade — o broker responde com o offset. Não é uma "
     "varredura."},
    {"Go there", "Ir pra lá"},
    {"Find in these messages", "Buscar nestas mensagens"},
    {"%d of %d read", "%d de %d lidas"},
    {"Read further", "Ler mais"},
    {"%d read · the end of every partition", "%d lidas · o fim de todas as partições"},
    {"%d read · there is more", "%d lidas · tem mais"},
    {"The broker stopped answering.", "O broker parou de responder."},
    {"What is on screen is what it last said. %@", "O que está na tela é o que ele disse por último. %@"},
    {"Try again", "Tentar de novo"},
    {"Bound to nothing — only a direct publish by name reaches this queue.",
     "Não está ligada a nada — só uma publicação direta pelo nome chega nesta fila."},
    {"(default exchange)", "(exchange padrão)"},
    {"· nothing fans out to it", "· nada é distribuído pra ela"},
    {"%d partitions, all empty. Nothing to chart yet.", "%d partições, todas vazias. Nada pra desenhar ainda."},
    {"%lld across %d partitions — too few to call the spread.",
     "%lld em %d partições — pouco demais para opinar sobre a distribuição."},
    {"Spread evenly across %d partitions.", "Distribuído por igual entre %d partições."},
    {"p%d is holding %d%% of it.", "A p%d está segurando %d%% de tudo."},
    {"p%d is holding %d%% of it, and p%d has none.", "A p%d está segurando %d%% de tudo, e a p%d não tem nada."},
    {"p%d has almost nothing while the rest are full.", "A p%d quase não tem nada enquanto as outras estão cheias."},
    {"%d partitions have almost nothing while the rest are full.",
     "%d partições quase não têm nada enquanto as outras estão cheias."},
    {"Retained right now — not what was produced.", "Retido agora — não o que foi produzido."},
    {"p%d — %lld retained (%d%%)", "p%d — %lld retidas (%d%%)"},
    {"I made you a chart. I make a lot of charts.", "Fiz um gráfico pra você. Eu faço muitos gráficos."},
    {"I can't lie to you. I've tried. My face does a thing.",
     "Não consigo mentir pra você. Já tentei. Minha cara me entrega."},
    {"Unknown is a real answer. I'm not rounding it down to zero.",
     "Desconhecido é uma resposta de verdade. Não vou arredondar pra zero."},
    {"Nice when I can, honest when it counts. Mostly the second one.",
     "Gentil quando dá, honesto quando importa. Na maioria das vezes, a segunda opção."},
    {"Tessaron's reading…", "O Tessaron está lendo…"},
    {"Still reading. It's a long one.", "Ainda lendo. Esse é comprido."},
    {"Okay, this topic is a lot.", "Tá, esse tópico é demais."},
    {"Taking a while — the broker's being cagey.", "Está demorando — o broker está se fazendo de difícil."},
    {"Tessaron believes it's out there. He still won't say he saw it.",
     "O Tessaron acredita que ele existe. Mesmo assim não vai dizer que viu."},
    {"He'd rather tell you he's blind here than make something up.",
     "Ele prefere te dizer que está cego aqui do que inventar alguma coisa."},
    {"Messages that failed everyone else. Somebody should look at these.",
     "Mensagens que falharam com todo mundo. Alguém devia olhar essas aqui."},
    {"No partitions. Nothing to spread, nothing to chart.",
     "Sem partições. Nada para distribuir, nada para colocar num gráfico."},
    {"Kafka's own bookkeeping. Read-only, and frankly none of our business.",
     "A contabilidade do próprio Kafka. Só leitura e, sinceramente, não é da nossa conta."},
    {"A regular. Comes up first.", "Freguês da casa. Aparece primeiro."},
    {"Make it a regular — it comes up first.", "Torna ele freguês da casa — aparece primeiro."},
    {"Make it a regular", "Tornar freguês da casa"},
    {"No longer a regular", "Não é mais freguês da casa"},
    {"Pinned", "Fixado"},
    {"Pin to the top", "Fixar no topo"},
    {"Unpin", "Desafixar"},
    {"Copy Name", "Copiar nome"},
    {"The broker doesn't list it anymore.", "O broker não lista mais ele."},
    {"Pinned here, but the broker's last listing didn't include it. Deleted, renamed, or filtered — Tessaron can't "
     "tell which.",
     "Fixado aqui, mas a última listagem do broker não incluiu ele. Apagado, renomeado ou filtrado — o Tessaron não "
     "sabe dizer qual."},
    {"Consumer groups", "Grupos de consumidores"},
    {"CONSUMER GROUP", "GRUPO DE CONSUMIDORES"},
    {"…and %d more, in the sidebar.", "…e mais %d, na barra lateral."},
    {"Open the group", "Abrir o grupo"},
    {"Look again", "Olhar de novo"},
    {"The broker wouldn't describe it.", "O broker não quis descrever ele."},
    {"Members", "Membros"},
    {"Committed offsets", "Offsets com commit"},
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
    {"%@ behind across %d partitions, and %@ carries %d%% of it. Start there — one partition far behind the rest is "
     "usually one consumer, not the whole group.",
     "%@ de atraso em %d partições, e %@ carrega %d%% disso. Começa por ali — uma partição muito atrás das outras "
     "costuma ser um consumidor, não o grupo inteiro."},
    {"%@ behind, spread across %d partitions with no one of them standing out. That's the shape of consumers that are "
     "simply slower than the producers.",
     "%@ de atraso, espalhado por %d partições sem nenhuma se destacar. Esse é o jeitão de consumidores que são "
     "simplesmente mais lentos que os produtores."},
    {"Nobody's in the group and %@ messages are waiting. That's the shape of a consumer that died — the lag kept being "
     "a number, so nobody noticed.",
     "Não tem ninguém no grupo e %@ mensagens estão esperando. Esse é o jeitão de um consumidor que morreu — o lag "
     "continuou sendo só um número, então ninguém percebeu."},
    {"Nobody's in the group, but it left nothing behind. A batch job between runs, or a consumer that shut down "
     "cleanly.",
     "Não tem ninguém no grupo, mas ele não deixou nada pra trás. Um job em lote entre execuções, ou um consumidor que "
     "desligou direitinho."},
    {"%@. The positions are moving while this is true; Tessaron will judge them once it settles. Look again in a "
     "moment.",
     "%@. As posições estão mudando enquanto isso dura; o Tessaron julga quando assentar. Olha de novo daqui a pouco."},
    {"No members and nothing committed, anywhere. The broker remembers the name and nothing else.",
     "Sem membros e sem nenhum commit, em lugar nenhum. O broker lembra o nome e mais nada."},
    {"%d members and nothing committed, anywhere. Either they've never finished a batch, or they commit somewhere "
     "Tessaron can't see.",
     "%d membros e nenhum commit, em lugar nenhum. Ou eles nunca terminaram um lote, ou fazem commit num lugar que o "
     "Tessaron não vê."},
    {"It committed on %d partitions and Tessaron can't see the end of any of them — the topics aren't listed, or their "
     "watermarks wouldn't read. No verdict.",
     "Ele fez commit em %d partições e o Tessaron não vê o fim de nenhuma delas — os tópicos não estão listados, ou os "
     "watermarks não quiseram ler. Sem veredito."},
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
    {"Move the position…", "Mudar a posição…"},
    {"Reset this group's committed offsets on this topic. Refused while the group has members.",
     "Redefinir os offsets com commit deste grupo neste tópico. Recusado enquanto o grupo tiver membros."},
    {"The broker doesn't list this topic anymore. The positions are what the group last committed; there is no end to "
     "measure them against.",
     "O broker não lista mais este tópico. As posições são as do último commit do grupo; não tem fim contra o qual "
     "medir."},
    {"Its watermarks wouldn't read: %@", "Os watermarks dele não quiseram ler: %@"},
    {"No positions. A group that has never committed has nowhere to stand, and nothing here to measure.",
     "Sem posições. Um grupo que nunca fez commit não tem onde pisar, e não tem nada aqui pra medir."},
    {"Committed on, but not in the broker's listing. Deleted, or Tessaron isn't allowed to see it.",
     "Tem commit, mas não está na listagem do broker. Apagado, ou o Tessaron não tem permissão pra ver."},
    {"committed", "commit"},
    {"end", "fim"},
    {"held by", "nas mãos de"},
    {"No end to measure against — the topic isn't listed, or its watermarks wouldn't read.",
     "Sem fim pra medir — o tópico não está listado, ou os watermarks dele não quiseram ler."},
    {"nobody", "ninguém"},
    {"past the end", "depois do fim"},
    {"Committed beyond where the partition ends. The consumer's next read is out of range, and its auto.offset.reset "
     "decides what happens — possibly skipping to the latest.",
     "Commit além de onde a partição termina. A próxima leitura do consumidor fica fora do intervalo, e o "
     "auto.offset.reset dele decide o que acontece — talvez pulando pro mais recente."},
    {"Past the end of p%d, which ends at %@. Kafka will accept it; the consumer's next read is out of range, and its "
     "auto.offset.reset decides what happens — \"latest\" skips everything.",
     "Depois do fim da p%d, que termina em %@. O Kafka aceita; a próxima leitura do consumidor fica fora do intervalo, "
     "e o auto.offset.reset dele decide o que acontece — \"latest\" pula tudo."},
    {"Past the end of %d partitions (%@). Kafka will accept it; each consumer's next read is out of range, and its "
     "auto.offset.reset decides what happens — \"latest\" skips everything.",
     "Depois do fim de %d partições (%@). O Kafka aceita; a próxima leitura de cada consumidor fica fora do intervalo, "
     "e o auto.offset.reset dele decide o que acontece — \"latest\" pula tudo."},
    {"Avro, read", "Avro, lido"},
};
} // namespace

std::span<const L10nRow> rowsC() { return {table, std::size(table)}; }

} // namespace tessaron::L10nTable

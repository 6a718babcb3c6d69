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
        {"SETTINGS", "AJUSTES"},
        {"General", "Geral"},
        {"Artificial intelligence", "Inteligência artificial"},
        {"About Tessaron", "Sobre o Tessaron"},
        {"YOUR APP. YOUR RULES.", "SEU APP. SUAS REGRAS."},
        {"A SECOND OPINION", "UMA SEGUNDA OPINIÃO"},
        {"MEET YOUR COUNSEL", "CONHEÇA SEU ADVOGADO"},
        {"On the record.", "Tudo registrado."},
        {"Make yourself at home", "Fica à vontade"},
        {"Better together", "Melhor juntos"},
        {"I'll handle the queues. You call the shots.", "Eu cuido das filas. Você dá as cartas."},
        {"Your local assistant. No extra API key, no ceremony.",
         "Seu assistente local. Sem chave de API extra, sem cerimônia."},
        {"Even Kafka has a drawer full of paperwork.", "Até o Kafka tem uma gaveta cheia de papelada."},
        {"Fluent in human. Native in woof.", "Fluente em humano. Nativo em au-au."},
        {"Messages per topic", "Mensagens por tópico"},
        {"More evidence. A little more patience.", "Mais provas. Um pouco mais de paciência."},
        {"A quick look", "Uma olhada rápida"},
        {"On the case", "No caso"},
        {"The whole story", "A história inteira"},
        {"A quick sniff. I'll keep it brief. For once.", "Uma farejada rápida. Vou ser breve. Pra variar."},
        {"The plot thickens. I brought a highlighter.", "A trama se complica. Eu trouxe marca-texto."},
        {"This is going to need a bigger briefcase.", "Vamos precisar de uma pasta maior."},
        {"Objection. That was adorable.", "Protesto. Isso foi fofo demais."},
        {"Petting counsel is not bribery. Keep going.", "Fazer carinho no advogado não é suborno. Pode continuar."},
        {"WHO'S ON THE CASE?", "QUEM ESTÁ NO CASO?"},
        {"Uses an installed CLI, preferring Claude Code.", "Usa uma CLI instalada, dando preferência ao Claude Code."},
        {"I object to doing everything myself.", "Protesto contra fazer tudo sozinho."},
        {"Looking for your local AI assistants…", "Procurando seus assistentes de IA locais…"},
        {"No CLI found. Install Claude Code or Codex to ask your topics.",
         "Nenhuma CLI encontrada. Instala o Claude Code ou o Codex pra perguntar aos seus tópicos."},
        {"CLI missing; uses an available assistant. Install: %@",
         "CLI ausente; usa um assistente disponível. Instalar: %@"},
        {"Uses your local CLI session. No extra API key.", "Usa sua sessão local da CLI. Sem chave de API extra."},
        {"Good instincts. Better evidence.", "Bom faro. Provas melhores."},
        {"The latest additions to the case file.", "As novidades mais recentes do processo."},
        {"Have we met? Let's do the introductions again.", "A gente se conhece? Vamos fazer as apresentações de novo."},
        {"Saved automatically", "Salvo automaticamente"},
        {"No save button. I'm a retriever.", "Sem botão de salvar. Eu sou um retriever."},
        {"Replay the introduction", "Rever a apresentação"},
        {"I can't lie to you. I've tried. My face does a thing.",
         "Não consigo mentir pra você. Já tentei. Minha cara me entrega."},
        {"Avro, read", "Avro, lido"},
        {"out loud.", "em voz alta."},
        {"Tessaron reads Avro now. Give a broker its Schema Registry and every Confluent-framed message opens as the "
         "record it is — timestamps as dates, decimals as numbers, enums by name — instead of five bytes of header and "
         "a "
         "shrug.",
         "O Tessaron agora lê Avro. Dá um Schema Registry pro broker e toda mensagem no formato Confluent abre como o "
         "registro que ela é — timestamps como datas, decimais como números, enums pelo nome — em vez de cinco bytes "
         "de "
         "cabeçalho e um dar de ombros."},
        {"And he objects to it like anything else. Two schemas on one topic is drift, named by the field the new "
         "schema "
         "added. The shape he compares is the one the schema declares, so an optional field that is null here and "
         "filled "
         "there is one shape, not two.",
         "E ele protesta contra isso como contra qualquer outra coisa. Dois schemas num tópico é desvio, apontado pelo "
         "campo que o schema novo acrescentou. O formato que ele compara é o que o schema declara, então um campo "
         "opcional "
         "que é nulo aqui e preenchido ali é um formato só, não dois."},
        {"Without a registry he says so. \"Avro, schema 2\" on the row, the reason on the record — no registry, the "
         "registry is down, the registry has never heard of that id — each a different sentence, because each sends "
         "you "
         "somewhere different.",
         "Sem registry, ele avisa. \"Avro, schema 2\" na linha, o motivo no registro — sem registry, registry fora do "
         "ar, "
         "registry que nunca ouviu falar daquele id — cada um com uma frase diferente, porque cada um te manda pra um "
         "lugar diferente."},
        {"One thing he won't do: file a decoded record back. That would put JSON on a topic every consumer reads as "
         "Avro, "
         "and the corrected copy would be the broken message. He refuses, and tells you why, instead of doing it "
         "quietly.",
         "Uma coisa ele não faz: protocolar de volta um registro decodificado. Isso poria JSON num tópico que todo "
         "consumidor lê como Avro, e a cópia corrigida seria a mensagem quebrada. Ele recusa, e te diz por quê, em vez "
         "de "
         "fazer isso na surdina."},
        {"Consumer groups have a screen. Click one — in the sidebar, the arrival report, or the chip on a topic — and "
         "Tessaron says what he makes of it before any number: caught up, behind and where, nobody home with work "
         "piling "
         "up, mid-rebalance and not to be judged yet. Then who's in it, from where, holding which partitions, and "
         "where it "
         "stands on every topic it ever committed on.",
         "Grupos de consumidores ganharam uma tela. Clica num — na barra lateral, no relatório de chegada ou no chip "
         "de um "
         "tópico — e o Tessaron diz o que acha dele antes de qualquer número: em dia, atrasado e onde, ninguém em casa "
         "com "
         "trabalho acumulando, no meio de um rebalance e ainda sem julgamento. Depois, quem está nele, de onde, "
         "segurando "
         "quais partições, e onde ele está em cada tópico em que já fez commit."},
        {"Moving a group's position starts from that screen now, per topic. And an offset past the end of a partition "
         "is "
         "pointed out before the button, because Kafka accepts it and the consumer's auto.offset.reset quietly decides "
         "what happens next.",
         "Mover a posição de um grupo agora começa nessa tela, por tópico. E um offset depois do fim de uma partição é "
         "apontado antes do botão, porque o Kafka aceita e o auto.offset.reset do consumidor decide em silêncio o que "
         "acontece depois."},
        {"Pin a topic and it sits at the top, in the order you pinned them — above the dead letters, which still come "
         "before everything else. A pinned topic the broker stops listing stays in the list, crossed out, with the "
         "reason: "
         "a pin that quietly vanished would look like a topic that was never there.",
         "Fixa um tópico e ele fica no topo, na ordem em que você fixou — acima das cartas mortas, que continuam vindo "
         "antes de todo o resto. Um tópico fixado que o broker deixa de listar continua na lista, riscado, com o "
         "motivo: "
         "um fixado que sumisse em silêncio pareceria um tópico que nunca existiu."},
        {"And star a broker on the reception desk to keep it first. A regular.",
         "E marca um broker com estrela na recepção pra deixar ele em primeiro. Freguês da casa."},
        {"_schemas is the registry's own bookkeeping, and it now stays out of your topic list with __consumer_offsets "
         "and "
         "the rest.",
         "_schemas é a contabilidade do próprio registry, e agora fica fora da sua lista de tópicos junto com o "
         "__consumer_offsets e o resto."},
        {"Kafka and RabbitMQ, from a guy who can't lie.", "Kafka e RabbitMQ, de um cara que não consegue mentir."},
        {"He draws your topic. Where the messages actually sit across the partitions — which is the one thing a list "
         "of "
         "numbers will never show you at a glance.",
         "Ele desenha seu tópico. Onde as mensagens estão de verdade entre as partições — a única coisa que uma lista "
         "de "
         "números nunca vai te mostrar de relance."},
        {"And he reads it out loud. One partition holding most of the traffic is usually a key that is the same for "
         "nearly "
         "every message, and it shows up as one consumer falling behind while the others idle — which looks like a "
         "consumer problem and is not.",
         "E ele lê em voz alta. Uma partição segurando a maior parte do tráfego costuma ser uma chave que é a mesma em "
         "quase toda mensagem, e aparece como um consumidor ficando pra trás enquanto os outros estão à toa — o que "
         "parece "
         "problema de consumidor e não é."},
        {"A partition with nothing in it gets named too. That is a different story from a hot one: it usually means "
         "the "
         "partitioner never picks it, or the topic has fewer distinct keys than partitions. Looking only for the "
         "busiest "
         "partition cannot see it at all.",
         "Uma partição sem nada também ganha nome. É uma história diferente da de uma partição quente: normalmente "
         "quer "
         "dizer que o particionador nunca escolhe ela, ou que o tópico tem menos chaves distintas do que partições. "
         "Quem "
         "só procura a partição mais cheia nunca vai ver isso."},
        {"He still refuses when he should. A queue has no partitions. One partition has no spread. Fourteen messages "
         "across three cannot carry a proportion, however dramatic the percentages look — and none of those are drawn "
         "as a "
         "healthy chart.",
         "Ele continua recusando quando deve. Uma fila não tem partições. Uma partição só não tem distribuição. "
         "Catorze "
         "mensagens em três não sustentam uma proporção, por mais dramáticas que as porcentagens pareçam — e nenhum "
         "desses "
         "casos vira um gráfico saudável."},
        {"Runs on far more desktops. Any Linux desktop with Qt 6, x86-64 and ARM64. Everything Tessaron needs to speak "
         "Kafka comes with it, so there is still nothing to install first.",
         "Roda em muito mais desktops. Qualquer desktop Linux com Qt 6, x86-64 e ARM64. Tudo o que o Tessaron precisa "
         "pra "
         "falar Kafka vem junto, então continua não tendo nada pra instalar antes."},
        {"And he sounds more like himself. Tessaron is a lawyer, but a lawyer argues whichever side hired him — and "
         "the "
         "one thing this app will never do is argue. It says \"unknown\" when it does not know. That is counsel who "
         "cannot "
         "lie: he may believe Sasquatch is out there, and he still never claims to have seen one.",
         "E ele soa mais como ele mesmo. O Tessaron é advogado, mas advogado defende o lado que contratou ele — e a "
         "única "
         "coisa que este app nunca vai fazer é defender um lado. Ele diz \"desconhecido\" quando não sabe. Isso é um "
         "advogado que não consegue mentir: ele pode acreditar que o Pé-Grande existe, e mesmo assim nunca diz que viu "
         "um."},
        {"What's new", "Novidades"},
        {"A proper first run. Six chapters instead of one page, and the third one actually opens a broker for you — "
         "the "
         "step where people get stuck is the one that used to be a paragraph.",
         "Uma primeira execução de verdade. Seis capítulos em vez de uma página, e o terceiro abre mesmo um broker pra "
         "você — o passo em que o pessoal travava é justamente o que antes era um parágrafo."},
        {"And you can pick who answers \"Ask your topic\". Tessaron drives an AI CLI already signed in on your "
         "computer; "
         "until now he used whichever he found first and there was no way to say otherwise. Claude Code, OpenAI Codex, "
         "or "
         "whatever is installed.",
         "E você pode escolher quem responde o \"Pergunta ao seu tópico\". O Tessaron usa uma CLI de IA que já está "
         "logada "
         "no seu computador; até agora ele usava a primeira que achasse e não tinha como dizer outra coisa. Claude "
         "Code, "
         "OpenAI Codex, ou o que estiver instalado."},
        {"/ WHAT CHANGED", "/ O QUE MUDOU"},
        {"CASE NOTES / %@", "ANOTAÇÕES DO CASO / %@"},
        {"%d THINGS", "%d NOVIDADES"},
        {"All of them already in your copy.", "Todas já estão na sua cópia."},
        {"Nice work, buddy.", "Mandou bem, parceiro."},
        {"Tessaron made you", "O Tessaron fez"},
        {"a chart.", "um gráfico pra você."},
        {"More than one broker.", "Mais de um broker."},
        {"And more than Kafka.", "E mais do que Kafka."},
        {"ABOUT", "SOBRE"},
        {"The dog on the icon is real. His name is Tessaron.",
         "O cachorro do ícone é de verdade. O nome dele é Tessaron."},
        {"He has never once lied about a queue.", "Ele nunca mentiu sobre uma fila. Nem uma vez."},
        {"Version %@ · build %@", "Versão %@ · build %@"},
        {"Local-first. No account, no server, no telemetry.",
         "Local primeiro. Sem conta, sem servidor, sem telemetria."},
        {"Website", "Site"},
        {"The badge", "O crachá"},
        {"Version, mileage, and the dog on the icon.", "Versão, quilometragem e o cachorro do ícone."},
        {"Check for updates", "Procurar atualizações"},
        {"messages read on this computer", "mensagens lidas neste computador"},
        {"Language", "Idioma"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

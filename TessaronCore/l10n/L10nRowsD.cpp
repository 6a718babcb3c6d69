// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"out loud.", "em voz alta."},
    {"Tessaron reads Avro now. Give a broker its Schema Registry and every Confluent-framed message opens as the "
     "record it is — timestamps as dates, decimals as numbers, enums by name — instead of five bytes of header and a "
     "shrug.",
     "O Tessaron agora lê Avro. Dá um Schema Registry pro broker e toda mensagem no formato Confluent abre como o "
     "registro que ela é — timestamps como datas, decimais como números, enums pelo nome — em vez de cinco bytes de "
     "cabeçalho e um dar de ombros."},
    {"And he objects to it like anything else. Two schemas on one topic is drift, named by the field the new schema "
     "added. The shape he compares is the one the schema declares, so an optional field that is null here and filled "
     "there is one shape, not two.",
     "E ele protesta contra isso como contra qualquer outra coisa. Dois schemas num tópico é desvio, apontado pelo "
     "campo que o schema novo acrescentou. O formato que ele compara é o que o schema declara, então um campo opcional "
     "que é nulo aqui e preenchido ali é um formato só, não dois."},
    {"Without a registry he says so. \"Avro, schema 2\" on the row, the reason on the record — no registry, the "
     "registry is down, the registry has never heard of that id — each a different sentence, because each sends you "
     "somewhere different.",
     "Sem registry, ele avisa. \"Avro, schema 2\" na linha, o motivo no registro — sem registry, registry fora do ar, "
     "registry que nunca ouviu falar daquele id — cada um com uma frase diferente, porque cada um te manda pra um "
     "lugar diferente."},
    {"One thing he won't do: file a decoded record back. That would put JSON on a topic every consumer reads as Avro, "
     "and the corrected copy would be the broken message. He refuses, and tells you why, instead of doing it quietly.",
     "Uma coisa ele não faz: protocolar de volta um registro decodificado. Isso poria JSON num tópico que todo "
     "consumidor lê como Avro, e a cópia corrigida seria a mensagem quebrada. Ele recusa, e te diz por quê, em vez de "
     "fazer isso na surdina."},
    {"Consumer groups have a screen. Click one — in the sidebar, the arrival report, or the chip on a topic — and "
     "Tessaron says what he makes of it before any number: caught up, behind and where, nobody home with work piling "
     "up, mid-rebalance and not to be judged yet. Then who's in it, from where, holding which partitions, and where it "
     "stands on every topic it ever committed on.",
     "Grupos de consumidores ganharam uma tela. Clica num — na barra lateral, no relatório de chegada ou no chip de um "
     "tópico — e o Tessaron diz o que acha dele antes de qualquer número: em dia, atrasado e onde, ninguém em casa com "
     "trabalho acumulando, no meio de um rebalance e ainda sem julgamento. Depois, quem está nele, de onde, segurando "
     "quais partições, e onde ele está em cada tópico em que já fez commit."},
    {"Moving a group's position starts from that screen now, per topic. And an offset past the end of a partition is "
     "pointed out before the button, because Kafka accepts it and the consumer's auto.offset.reset quietly decides "
     "what happens next.",
     "Mudar a posição de um grupo agora começa nessa tela, por tópico. E um offset depois do fim de uma partição é "
     "apontado antes do botão, porque o Kafka aceita e o auto.offset.reset do consumidor decide em silêncio o que "
     "acontece depois."},
    {"Pin a topic and it sits at the top, in the order you pinned them — above the dead letters, which still come "
     "before everything else. A pinned topic the broker stops listing stays in the list, crossed out, with the reason: "
     "a pin that quietly vanished would look like a topic that was never there.",
     "Fixa um tópico e ele fica no topo, na ordem em que você fixou — acima das cartas mortas, que continuam vindo "
     "antes de todo o resto. Um tópico fixado que o broker deixa de listar continua na lista, riscado, com o motivo: "
     "um fixado que sumisse em silêncio pareceria um tópico que nunca existiu."},
    {"And star a broker on the reception desk to keep it first. A regular.",
     "E marca um broker com estrela na recepção pra deixar ele em primeiro. Freguês da casa."},
    {"_schemas is the registry's own bookkeeping, and it now stays out of your topic list with __consumer_offsets and "
     "the rest.",
     "_schemas é a contabilidade do próprio registry, e agora fica fora da sua lista de tópicos junto com o "
     "__consumer_offsets e o resto."},
    {"Kafka and RabbitMQ, from a guy who can't lie.", "Kafka e RabbitMQ, de um cara que não consegue mentir."},
    {"He draws your topic. Where the messages actually sit across the partitions — which is the one thing a list of "
     "numbers will never show you at a glance.",
     "Ele desenha seu tópico. Onde as mensagens estão de verdade entre as partições — a única coisa que uma lista de "
     "números nunca vai te mostrar de relance."},
    {"And he reads it out loud. One partition holding most of the traffic is usually a key that is the same for nearly "
     "every message, and it shows up as one consumer falling behind while the others idle — which looks like a "
     "consumer problem and is not.",
     "E ele lê em voz alta. Uma partição segurando a maior parte do tráfego costuma ser uma chave que é a mesma em "
     "quase toda mensagem, e aparece como um consumidor ficando pra trás enquanto os outros estão à toa — o que parece "
     "problema de consumidor e não é."},
    {"A partition with nothing in it gets named too. That is a different story from a hot one: it usually means the "
     "partitioner never picks it, or the topic has fewer distinct keys than partitions. Looking only for the busiest "
     "partition cannot see it at all.",
     "Uma partição sem nada também ganha nome. É uma história diferente da de uma partição quente: normalmente quer "
     "dizer que o particionador nunca escolhe ela, ou que o tópico tem menos chaves distintas do que partições. Quem "
     "só procura a partição mais cheia nunca vai ver isso."},
    {"He still refuses when he should. A queue has no partitions. One partition has no spread. Fourteen messages "
     "across three cannot carry a proportion, however dramatic the percentages look — and none of those are drawn as a "
     "healthy chart.",
     "Ele continua recusando quando deve. Uma fila não tem partições. Uma partição só não tem distribuição. Catorze "
     "mensagens em três não sustentam uma proporção, por mais dramáticas que as porcentagens pareçam — e nenhum desses "
     "casos vira um gráfico saudável."},
    {"Runs on far more desktops. Any Linux desktop with Qt 6, x86-64 and ARM64. Everything Tessaron needs to speak "
     "Kafka comes with it, so there is still nothing to install first.",
     "Roda em muito mais desktops. Qualquer desktop Linux com Qt 6, x86-64 e ARM64. Tudo o que o Tessaron precisa pra "
     "falar Kafka vem junto, então continua não tendo nada pra instalar antes."},
    {"And he sounds more like himself. Tessaron is a lawyer, but a lawyer argues whichever side hired him — and the "
     "one thing this app will never do is argue. It says \"unknown\" when it does not know. That is counsel who cannot "
     "lie: he may believe Sasquatch is out there, and he still never claims to have seen one.",
     "E ele soa mais como ele mesmo. O Tessaron é advogado, mas advogado defende o lado que contratou ele — e a única "
     "coisa que este app nunca vai fazer é defender um lado. Ele diz \"desconhecido\" quando não sabe. Isso é um "
     "advogado que não consegue mentir: ele pode acreditar que o Pé-Grande existe, e mesmo assim nunca diz que viu "
     "um."},
    {"What's new", "Novidades"},
    {"Back", "Voltar"},
    {"Next", "Próximo"},
    {"User", "Usuário"},
    {"Try it", "Experimenta"},
    {"Save this broker", "Salvar este broker"},
    {"A proper first run. Six chapters instead of one page, and the third one actually opens a broker for you — the "
     "step where people get stuck is the one that used to be a paragraph.",
     "Uma primeira execução de verdade. Seis capítulos em vez de uma página, e o terceiro abre mesmo um broker pra "
     "você — o passo em que o pessoal travava é justamente o que antes era um parágrafo."},
    {"And you can pick who answers \"Ask your topic\". Tessaron drives an AI CLI already signed in on your computer; "
     "until now he used whichever he found first and there was no way to say otherwise. Claude Code, OpenAI Codex, or "
     "whatever is installed.",
     "E você pode escolher quem responde o \"Pergunta ao seu tópico\". O Tessaron usa uma CLI de IA que já está logada "
     "no seu computador; até agora ele usava a primeira que achasse e não tinha como dizer outra coisa. Claude Code, "
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
    {"TESSARON MQ · RECEPTION", "TESSARON MQ · RECEPÇÃO"},
    {"I'm Tessaron. I read your queues, I never touch them, and I will draw you a chart whether you asked for one or "
     "not.",
     "Eu sou o Tessaron. Eu leio suas filas, nunca mexo nelas, e vou desenhar um gráfico pra você quer você peça ou "
     "não."},
    {"Pick a broker. I'll get the leash.", "Escolhe um broker. Eu pego a coleira."},
    {"It's %@. A queue filled up, didn't it? Come on. I don't judge. I sniff.",
     "É %@. Uma fila encheu, né? Pode falar. Eu não julgo. Eu farejo."},
    {"Morning. Already read the paper. It was all Kafka.", "Bom dia. Já li o jornal. Era tudo Kafka."},
    {"Lunchtime. I don't eat. But I accept.", "Hora do almoço. Eu não como. Mas aceito."},
    {"Afternoon. Any queue need a lawyer?", "Boa tarde. Alguma fila precisando de advogado?"},
    {"Evening. Brought the ball, just in case.", "Boa noite. Trouxe a bolinha, só por garantia."},
    {"Boop noted.", "Boop anotado."},
    {"Two boops. That's a pattern.", "Dois boops. Isso é um padrão."},
    {"Three. I'm going to need a chart.", "Três. Vou precisar de um gráfico."},
    {"There. I made a chart. Trend: up.", "Pronto. Fiz um gráfico. Tendência: alta."},
    {"Ten. Okay, I love you too. Now open a broker.", "Dez. Tá bom, também te amo. Agora abre um broker."},
    {"CHART OF THE DAY", "GRÁFICO DO DIA"},
    {"UNSOLICITED CHART", "GRÁFICO NÃO SOLICITADO"},
    {"Another", "Outro"},
    {"Things I have never done", "Coisas que eu nunca fiz"},
    {"Committed an offset", "Commitei um offset"},
    {"Joined a consumer group", "Entrei num consumer group"},
    {"Called \"don't know\" zero", "Chamei \"não sei\" de zero"},
    {"Seen Sasquatch", "Vi o Pé Grande"},
    {"(yet)", "(ainda)"},
    {"All verified. I checked twice.", "Tudo verificado. Conferi duas vezes."},
    {"How I spend my day", "Como eu passo o dia"},
    {"Reading queues", "Lendo filas"},
    {"Sniffing the logs", "Farejando os logs"},
    {"Ball", "Bolinha"},
    {"Practising law", "Advocacia"},
    {"Percentages. The ball one is under-reported.", "Em porcentagem. A da bolinha está subnotificada."},
    {"Why you opened Tessaron", "Por que você abriu o Tessaron"},
    {"A queue filled up overnight", "Uma fila encheu de madrugada"},
    {"A field turned into a string", "Um campo virou string"},
    {"Curiosity", "Curiosidade"},
    {"Clicked by accident", "Clicou sem querer"},
    {"Either way, I'm glad you're here.", "De qualquer jeito, que bom que você veio."},
    {"Messages that changed shape on their own", "Mensagens que mudaram de formato sozinhas"},
    {"On their own", "Sozinhas"},
    {"After a Friday deploy", "Depois de um deploy na sexta"},
    {"\"Nobody touched it\"", "\"Ninguém mexeu nisso\""},
    {"(lie)", "(mentira)"},
    {"I can't tell one. I can point at one.", "Eu não conto nenhuma. Mas sei apontar uma."},
    {"Things I can sniff out", "Coisas que eu farejo"},
    {"A wrong shape", "Formato errado"},
    {"A ball at 400 m", "Uma bolinha a 400 m"},
    {"What you had for dinner", "O que você jantou"},
    {"(unfortunately)", "(infelizmente)"},
    {"Golden retriever. It's not optional.", "Golden retriever. Não é opcional."},
    {"Boops received today", "Boops recebidos hoje"},
    {"You", "Você"},
    {"Trend: up.", "Tendência: alta."},
    {"MILEAGE", "QUILOMETRAGEM"},
    {"messages read", "mensagens lidas"},
    {"disturbed", "incomodadas"},
    {"None of them noticed.", "Nenhuma delas percebeu."},
    {"The disturbed ones are RabbitMQ. I did warn you.", "As incomodadas são do RabbitMQ. Eu avisei."},
    {"No brokers yet.", "Nenhum broker ainda."},
    {"I can wait. Waiting is about 60% of being a dog.", "Eu sei esperar. Esperar é uns 60% de ser cachorro."},
    {"Open the first one", "Abrir o primeiro"},
    {"Charges to read. I'll warn you first.", "Cobra pra ler. Eu aviso antes."},
    {"Wants my certificate. I brought it.", "Quer meu certificado. Eu trouxe."},
    {"No password. Trusting. I respect that.", "Sem senha. Confiante. Respeito."},
    {"Encrypted. Nobody reads over my shoulder.", "Criptografado. Ninguém lê por cima do meu ombro."},
    {"Wants a password. It's in your keyring.", "Quer senha. Está no seu chaveiro."},
    {"Sniffing…", "Farejando…"},
    {"ARRIVAL REPORT", "RELATÓRIO DE CHEGADA"},
    {"I had a sniff around.", "Dei uma farejada por aí."},
    {"WHERE THE MESSAGES ARE", "ONDE ESTÃO AS MENSAGENS"},
    {"%d queues.", "%d filas."},
    {"%d topics.", "%d tópicos."},
    {"Nothing to report. Either this broker is empty, or I couldn't see into it — the left-hand side says which.",
     "Nada a relatar. Ou este broker está vazio, ou eu não consegui enxergar dentro dele — o lado esquerdo diz qual."},
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
     "Nada aqui que eu consiga comparar — tombstones, binário, ou JSON que não é objeto. Vou mostrar o que eu tenho."},
    {"THE ONES THAT DISAGREE", "AS QUE DISCORDAM"},
    {"Start here", "Começa por aqui"},
    {"…and %d more, marked in the list.", "…e mais %d, marcadas na lista."},
    {"WHO'S SENDING", "QUEM ESTÁ ENVIANDO"},
    {"Nothing read yet.", "Nada lido ainda."},
    {"No keys on any of these. Without a key the partitioner deals round-robin, so where a message landed is luck, not "
     "a choice.",
     "Nenhuma dessas tem chave. Sem chave o particionador distribui em rodízio, então onde uma mensagem caiu é sorte, "
     "não escolha."},
    {"Every one has its own key — %d of them, no repeats. Nothing is crowding a partition.",
     "Cada uma tem sua própria chave — %d delas, sem repetição. Nada está lotando uma partição."},
    {"seen %d", "vi %d"},
    {"One key is carrying about %d%% of this topic. That is usually what a hot partition looks like from the inside.",
     "Uma chave está carregando uns %d%% deste tópico. Normalmente é assim que uma partição quente parece vista de "
     "dentro."},
    {"No single key is crowding this topic.", "Nenhuma chave sozinha está lotando este tópico."},
    {"Estimated from the %d read, weighted by what each partition holds — the tail is read per partition, so a flat "
     "count would call a quiet partition as loud as a busy one.",
     "Estimado a partir das %d lidas, ponderado pelo que cada partição guarda — o final é lido por partição, então uma "
     "contagem simples acharia uma partição quieta tão barulhenta quanto uma movimentada."},
    {"From the %d read with a key. Says nothing about the ones I haven't.",
     "A partir das %d lidas com chave. Não diz nada sobre as que eu não li."},
    {"Pick a row. I'll open the file.", "Escolhe uma linha. Eu abro a ficha."},
    {"FILE %@", "FICHA %@"},
    {"New broker.", "Broker novo."},
    {"Tell me where to knock.", "Me diz onde bater."},
    {"Let's update the file.", "Vamos atualizar a ficha."},
    {"WHO", "QUEM"},
    {"The management port — 15672 by default, not AMQP's 5672 — and the plugin has to be on.",
     "A porta de gerenciamento — 15672 por padrão, não a 5672 do AMQP — e o plugin tem que estar ligado."},
    {"HOW HE GETS IN", "COMO ELE ENTRA"},
    {"Goes to your keyring, never to a file.", "Vai pro seu chaveiro, nunca pra um arquivo."},
    {"Blank keeps the one already in your keyring.", "Em branco mantém a que já está no seu chaveiro."},
    {"KNOCK FIRST", "BATE ANTES"},
    {"Nothing is read in this step. He only checks that somebody is home.",
     "Nada é lido nesta etapa. Ele só confere se tem alguém em casa."},
    {"It answered. One topic.", "Respondeu. Um tópico."},
    {"It answered. %d topics.", "Respondeu. %d tópicos."},
    {"Forget this broker", "Esquecer este broker"},
    {"Forget \"%@\"?", "Esquecer \"%@\"?"},
    {"Forget it", "Pode esquecer"},
    {"About Tessaron MQ", "Sobre o Tessaron MQ"},
    {"ABOUT", "SOBRE"},
    {"The dog on the icon is real. His name is Tessaron.", "O cachorro do ícone é de verdade. O nome dele é Tessaron."},
    {"He has never once lied about a queue.", "Ele nunca mentiu sobre uma fila. Nem uma vez."},
    {"Version %@ · build %@", "Versão %@ · build %@"},
    {"Linux on %@", "Linux em %@"},
    {"Local-first. No account, no server, no telemetry.", "Local primeiro. Sem conta, sem servidor, sem telemetria."},
    {"Website", "Site"},
    {"The badge", "O crachá"},
    {"Version, mileage, and the dog on the icon.", "Versão, quilometragem e o cachorro do ícone."},
    {"Check for updates", "Procurar atualizações"},
    {"messages read on this computer", "mensagens lidas neste computador"},
    {"More", "Mais"},
    {"THIS BROKER", "ESTE BROKER"},
    {"The tab, not the broker. He leaves it as he found it.", "A aba, não o broker. Ele deixa tudo como encontrou."},
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
     "orders.events.dlq, so he treats the first part as one. It only appears when a cluster actually names things that "
     "way.",
     "O Kafka não tem pastas — os tópicos são uma lista plana. Mas todo mundo dá nome em partes, tipo orders.events e "
     "orders.events.dlq, então ele trata a primeira parte como uma. Só aparece quando o cluster dá nomes assim de "
     "verdade."},
    {"Refresh Topics", "Atualizar tópicos"},
    {"Queues", "Filas"},
    {"Search queues", "Buscar filas"},
    {"Reread Messages", "Reler mensagens"},
    {"Check for Updates…", "Procurar atualizações…"},
    {"Reading", "Leitura"},
    {"Show Kafka's internal topics", "Mostrar os tópicos internos do Kafka"},
    {"Language", "Idioma"},
    {"System", "Sistema"},
    {"WHAT HE READS", "O QUE ELE LÊ"},
    {"Confluent-compatible. Leave blank if this cluster has none.",
     "Compatível com Confluent. Deixa em branco se este cluster não tiver um."},
    {"Avro messages stay as bytes without a Schema Registry. Tessaron will still read them — he'll just file them as "
     "something he can't see into.",
     "Mensagens Avro ficam como bytes sem um Schema Registry. O Tessaron continua lendo elas — só vai arquivar como "
     "algo que ele não consegue enxergar por dentro."},
    {"Avro messages are decoded with the schema they name, then read like JSON — drift, search and the whole case file "
     "included.",
     "Mensagens Avro são decodificadas com o schema que elas citam, e depois lidas como JSON — desvio, busca e a ficha "
     "inteira do caso incluídos."},
    {"Registry user", "Usuário do registry"},
    {"Registry password", "Senha do registry"},
    {"optional", "opcional"},
    {"Avro payloads", "Payloads Avro"},
    {"no Schema Registry on this broker, so these are bytes with a schema id — add one on the broker's form",
     "não tem Schema Registry neste broker, então isso são bytes com um id de schema — adiciona um no formulário do "
     "broker"},
    {"1 Avro message", "1 mensagem Avro"},
    {"%d Avro messages", "%d mensagens Avro"},
    {"Tessaron can read the schema id off the wire, but not the body — that needs a Schema Registry. Add one on the "
     "broker's form.",
     "O Tessaron consegue ler o id do schema direto dos bytes, mas não o corpo — pra isso precisa de um Schema "
     "Registry. Adiciona um no formulário do broker."},
    {"Decoded with schema %d from the registry. The bytes on the broker are Avro; this is what they say.",
     "Decodificada com o schema %d do registry. Os bytes no broker são Avro; isto é o que eles dizem."},
    {"This message is Avro. What you see is the decoded record; filing it back would put JSON on a topic every "
     "consumer reads as Avro — the copy would be the broken message. Tessaron can't re-encode with the schema yet, so "
     "he won't file this one.",
     "Esta mensagem é Avro. O que você vê é o registro decodificado; protocolar de volta poria JSON num tópico que "
     "todo consumidor lê como Avro — a cópia seria a mensagem quebrada. O Tessaron ainda não sabe recodificar com o "
     "schema, então não vai protocolar esta."},
    {"%d Avro messages the registry couldn't read for me. Each row says why.",
     "%d mensagens Avro que o registry não conseguiu ler pra mim. Cada linha diz por quê."},
    {"%d Avro messages and no Schema Registry to read them with. Add one on the broker's form and I'll open them.",
     "%d mensagens Avro e nenhum Schema Registry pra ler elas. Adiciona um no formulário do broker e eu abro."},
    {"no Schema Registry configured for this broker", "nenhum Schema Registry configurado para este broker"},
    {"the registry did not answer: %@", "o registry não respondeu: %@"},
    {"the registry refused these credentials", "o registry recusou estas credenciais"},
    {"the registry has no schema %d", "o registry não tem o schema %d"},
    {"schema %d could not be parsed: %@", "o schema %d não pôde ser interpretado: %@"},
    {"the registry answered %d: %@", "o registry respondeu %d: %@"},
    {"My cousin is a police dog. He finds things too, but he never draws a chart.",
     "Meu primo é cão policial. Ele também acha coisas, mas nunca desenha um gráfico."},
    {"A philosopher once asked if a message nobody reads was ever produced. I read it. Case closed.",
     "Um filósofo perguntou uma vez se uma mensagem que ninguém lê chegou a ser produzida. Eu li. Caso encerrado."},
    {"The mail carrier and I have an understanding. It's called the fence.",
     "O carteiro e eu temos um acordo. Se chama cerca."},
    {"My vet says I'm a very good boy. Second opinions welcome, but she's right.",
     "Minha veterinária diz que eu sou um menino muito bonzinho. Aceito segundas opiniões, mas ela tem razão."},
    {"The judge asked me to stop wagging in court. I objected. Overruled.",
     "O juiz pediu pra eu parar de abanar o rabo no tribunal. Eu protestei. Indeferido."},
    {"My groomer says I have a lot of layers. So do your topics.",
     "Meu tosador diz que eu tenho muitas camadas. Seus tópicos também."},
    {"A detective once told me to follow the money. I follow the offsets.",
     "Um detetive me disse uma vez pra seguir o dinheiro. Eu sigo os offsets."},
    {"The cat next door claims queues are beneath him. He has never read one.",
     "O gato do vizinho diz que filas estão abaixo dele. Ele nunca leu uma."},
    {"CREDITS", "CRÉDITOS"},
    {"Built with Qt, librdkafka and QCoro. Thank you, open source.",
     "Feito com Qt, librdkafka e QCoro. Obrigado, código aberto."},
    {"Written and house-trained by the Velkin team.", "Escrito e adestrado pela equipe Velkin."},
    {"Mascot photography: the dog himself, paid in treats.", "Fotos do mascote: o próprio cachorro, pago em petiscos."},
    {"Icons: Material Design Icons.", "Ícones: Material Design Icons."},
    {"Thanks to everyone who filed a bug instead of a complaint.",
     "Obrigado a todo mundo que abriu um bug em vez de uma reclamação."},
    {"I couldn't write brokers.json, so this broker is not on file. Check that your data folder is writable, then save "
     "again.",
     "Não consegui gravar o brokers.json, então este broker não ficou registrado. Confere se dá pra escrever na sua "
     "pasta de dados e salva de novo."},
    {"The broker is on file, but the keyring refused its password, so the password is not saved. Check that your "
     "keyring is running and unlocked, then save again.",
     "O broker está registrado, mas o chaveiro recusou a senha dele, então a senha não foi salva. Confere se o seu "
     "chaveiro está rodando e desbloqueado e salva de novo."},
    {"%@ is not implemented yet", "%@ ainda não foi implementado"},
    {"%@ partition %d", "%@, partição %d"},
    {"not connected to this broker", "sem conexão com este broker"},
    {"moving a group's offsets needs a Kafka broker", "só dá pra mover os offsets de um grupo num broker Kafka"},
    {"no topic selected", "nenhum tópico selecionado"},
    {"%@ not found on your PATH.", "Não achei o %@ no seu PATH."},
    {"AI CLI failed: %@", "A CLI de IA falhou: %@"},
    {"no output", "sem saída"},
    {"No AI provider configured.", "Nenhum provedor de IA configurado."},
    {"Nothing to send to the AI.", "Nada pra mandar pra IA."},
    {"Failed to launch process: %@", "Não deu pra iniciar o processo: %@"},
    {"The AI CLI gave no answer within %d seconds, so it was stopped.",
     "A CLI de IA ficou %d segundos sem responder, então eu parei ela."},
    {"The question and its evidence are too long to hand to the AI CLI.",
     "A pergunta e as provas dela são longas demais pra entregar pra CLI de IA."},
    {"Exited with code %d", "Saiu com o código %d"},
};
} // namespace

std::span<const L10nRow> rowsD() { return {table, std::size(table)}; }

} // namespace tessaron::L10nTable

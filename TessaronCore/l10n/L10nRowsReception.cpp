// Rows of the reception and the broker form.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsReception()
{
    static const L10nRow table[] = {
        {"Virtual host", "Host virtual"},
        {"Key passphrase", "Senha da chave"},
        {"Schema Registry", "Registro de schemas"},
        {"SIGNED", "ASSINADO"},
        {"Bootstrap servers", "Servidores de bootstrap"},
        {"One broker on file", "Um broker registrado"},
        {"%d brokers on file", "%d brokers registrados"},
        {"Reads only — never joins, never commits", "Só lê — nunca entra em grupo, nunca faz commit"},
        {"Native Linux · local-first · no telemetry", "Linux nativo · local primeiro · sem telemetria"},
        {"Today's docket", "A pauta de hoje"},
        {"Open", "Abrir"},
        {"Add a broker", "Adicionar um broker"},
        {"Production · orders", "Produção · pedidos"},
        {"host:port, comma-separated for more than one", "host:porta, separados por vírgula se for mais de um"},
        {"None", "Nenhuma"},
        {"Nothing is encrypted and nobody is asked who they are. Fine for a broker on your own machine, wrong for "
         "anything "
         "else.",
         "Nada é criptografado e ninguém pergunta quem é quem. Tranquilo pra um broker na sua própria máquina, errado "
         "pra "
         "todo o resto."},
        {"Encrypted, but the broker is not asking who you are.",
         "Criptografado, mas o broker não pergunta quem você é."},
        {"You prove who you are, but the connection itself is in the clear.",
         "Você prova quem é, mas a conexão em si vai às claras."},
        {"What a managed cluster almost always wants: encrypted, and you say who you are.",
         "O que um cluster gerenciado quase sempre quer: criptografado, e você diz quem é."},
        {"Mechanism", "Mecanismo"},
        {"Save", "Salvar"},
        {"The broker is forgotten and its password leaves your keyring. Nothing on the broker itself is touched.",
         "O broker é esquecido e a senha dele sai do seu chaveiro. Nada no broker em si é tocado."},
        {"Password goes to your keyring, never to a file.", "A senha vai pro seu chaveiro, nunca pra um arquivo."},
        {"Certificate authority", "Autoridade certificadora"},
        {"Use the system's", "Usar a do sistema"},
        {"Choose a PEM…", "Escolher um PEM…"},
        {"Change…", "Trocar…"},
        {"This computer's trust store — right for a managed cluster.",
         "O repositório de confiança deste computador — o certo pra um cluster gerenciado."},
        {"Choose a certificate authority", "Escolhe uma autoridade certificadora"},
        {"Your certificate", "Seu certificado"},
        {"Certificate", "Certificado"},
        {"Private key", "Chave privada"},
        {"Only if the broker demands one", "Só se o broker exigir um"},
        {"The key for that certificate", "A chave desse certificado"},
        {"Choose…", "Escolher…"},
        {"Both or neither — a certificate without its key proves nothing, and the handshake fails obscurely.",
         "Os dois ou nenhum — um certificado sem a chave não prova nada, e o handshake falha de um jeito obscuro."},
        {"Back to the open brokers", "Voltar aos brokers abertos"},
        {"Already open", "Já está aberto"},
        {"Blank means RabbitMQ's default, \"/\".", "Em branco quer dizer o padrão do RabbitMQ, \"/\"."},
        {"A regular. Comes up first.", "Freguês da casa. Aparece primeiro."},
        {"Make it a regular — it comes up first.", "Torna ele freguês da casa — aparece primeiro."},
        {"Make it a regular", "Tornar freguês da casa"},
        {"No longer a regular", "Não é mais freguês da casa"},
        {"TESSARON MQ · RECEPTION", "TESSARON MQ · RECEPÇÃO"},
        {"I'm Tessaron. I read your queues, I never touch them, and I will draw you a chart whether you asked for one "
         "or "
         "not.",
         "Eu sou o Tessaron. Eu leio suas filas, nunca mexo nelas, e vou desenhar um gráfico pra você quer você peça "
         "ou "
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
        {"MILEAGE", "QUILOMETRAGEM"},
        {"messages read", "mensagens lidas"},
        {"None of them noticed.", "Nenhuma delas percebeu."},
        {"The disturbed ones are RabbitMQ. I did warn you.", "As incomodadas são do RabbitMQ. Eu avisei."},
        {"No brokers yet.", "Nenhum broker ainda."},
        {"I can wait. Waiting is about 60% of being a dog.", "Eu sei esperar. Esperar é uns 60% de ser cachorro."},
        {"Open the first one", "Abrir o primeiro"},
        {"Sniffing…", "Farejando…"},
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
        {"Forget it", "Esquecer"},
        {"WHAT HE READS", "O QUE ELE LÊ"},
        {"Confluent-compatible. Leave blank if this cluster has none.",
         "Compatível com Confluent. Deixa em branco se este cluster não tiver um."},
        {"Avro messages stay as bytes without a Schema Registry. Tessaron will still read them — he'll just file them "
         "as "
         "something he can't see into.",
         "Mensagens Avro ficam como bytes sem um Schema Registry. O Tessaron continua lendo elas — só vai arquivar "
         "como "
         "algo que ele não consegue enxergar por dentro."},
        {"Avro messages are decoded with the schema they name, then read like JSON — drift, search and the whole case "
         "file "
         "included.",
         "Mensagens Avro são decodificadas com o schema que elas citam, e depois lidas como JSON — desvio, busca e a "
         "ficha "
         "inteira do caso incluídos."},
        {"Registry user", "Usuário do registry"},
        {"Registry password", "Senha do registry"},
        {"optional", "opcional"},
        {"Nothing is encrypted, and I sign in as guest/guest, which RabbitMQ accepts only on its own machine.",
         "Nada é criptografado, e eu entro como guest/guest, que o RabbitMQ só aceita na própria máquina dele."},
        {"Encrypted, and I sign in as guest/guest, which RabbitMQ accepts only on its own machine.",
         "Criptografado, e eu entro como guest/guest, que o RabbitMQ só aceita na própria máquina dele."},
        {"Reception", "Recepção"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable

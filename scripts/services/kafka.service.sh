# A Kafka broker of our own for the tests and the demo: one KRaft node (broker and controller in
# one JVM) on loopback only, on ports asked of the kernel, in a folder under $TESSARON_SERVICES_DIR.
# Sourced by run-with-services.sh and scripts/demo, which call start_kafka and stop_kafka.
#
# The broker comes from Maven's repository (kafka/pom.xml beside this file) into a cache folder
# outside the work tree, reused between runs. TESSARON_KAFKA_VERSION picks another release line
# (the tests run a second time against the last 3.x); TESSARON_TEST_KAFKA_VERSION tells the tests
# which one answers. Four listeners:
#   PLAINTEXT       TESSARON_TEST_KAFKA_BOOTSTRAP (anonymous, a super user: the tests' own seeding)
#   SASL_PLAINTEXT  TESSARON_TEST_KAFKA_SASL_BOOTSTRAP, SCRAM-SHA-256 and SCRAM-SHA-512: an
#                   administrator and a restricted user who may list and read one topic and nothing else
#   SSL             TESSARON_TEST_KAFKA_SSL_BOOTSTRAP, its certificate signed by a CA made for this
#                   run (TESSARON_TEST_KAFKA_CA_FILE)
#   SASL_SSL        TESSARON_TEST_KAFKA_SASL_SSL_BOOTSTRAP, the same users over the same TLS

kafka_service_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
KAFKA_SERVICE_VERSION=${TESSARON_KAFKA_VERSION:-4.4.0}
KAFKA_SERVICE_PID=""

# shellcheck source=free-ports.sh
source "$(dirname "${BASH_SOURCE[0]}")/free-ports.sh"

# The broker's jars, fetched once through Maven into the cache and reused.
_kafka_libs() {
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/tessaron-mq/kafka-$KAFKA_SERVICE_VERSION"
  if [ ! -e "$cache/complete" ]; then
    command -v mvn >/dev/null 2>&1 || { echo "kafka: Maven is not installed (scripts/setup installs it)" >&2; return 1; }
    rm -rf "$cache/libs"
    mkdir -p "$cache"
    if ! mvn -q -B -f "$kafka_service_dir/kafka/pom.xml" -Dkafka.version="$KAFKA_SERVICE_VERSION" \
         dependency:copy-dependencies -DoutputDirectory="$cache/libs" -DincludeScope=runtime \
         >"$cache/maven.log" 2>&1; then
      echo "kafka: Maven could not fetch the broker from its repository (see $cache/maven.log)" >&2
      return 1
    fi
    : >"$cache/complete"
  fi
  KAFKA_SERVICE_CLASSPATH="$cache/libs/*"
}

_kafka_java() {
  java -Xms64m -Xmx256m -XX:TieredStopAtLevel=1 -Xshare:auto \
    -Dlog4j2.configurationFile="$KAFKA_SERVICE_DIR/log4j2-tools.properties" -cp "$KAFKA_SERVICE_CLASSPATH" "$@"
}

# A CA for this run and a server certificate for 127.0.0.1 signed by it, as a PKCS#12 keystore.
_kafka_certificates() {
  local dir=$1 password=$2
  (
    cd "$dir" || exit 1
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tessaron test CA" \
      -keyout ca.key -out ca.pem &&
      openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout server.key -out server.csr &&
      printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n' >server.ext &&
      openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
        -extfile server.ext -out server.pem &&
      openssl pkcs12 -export -in server.pem -inkey server.key -certfile ca.pem -name broker \
        -passout "pass:$password" -out server.p12
  ) >/dev/null 2>&1
}

_kafka_answers() {
  kcat -b "$1" -L -m 2 >/dev/null 2>&1
}

start_kafka() {
  command -v java >/dev/null 2>&1 || { echo "kafka: Java is not installed (scripts/setup installs it)" >&2; return 1; }
  command -v kcat >/dev/null 2>&1 || { echo "kafka: kcat is not installed (scripts/setup installs it)" >&2; return 1; }
  _kafka_libs || return 1

  KAFKA_SERVICE_DIR="$TESSARON_SERVICES_DIR/kafka"
  local dir=$KAFKA_SERVICE_DIR
  mkdir -p "$dir/data" "$dir/tls"
  local ports plain sasl ssl sasl_ssl controller
  ports=$(services_free_ports 5) || return 1
  read -r plain sasl ssl sasl_ssl controller <<<"$ports"

  local store_password admin_password reader_password
  store_password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
  admin_password=admin-$(head -c 6 /dev/urandom | od -An -tx1 | tr -d ' \n')
  reader_password=reader-$(head -c 6 /dev/urandom | od -An -tx1 | tr -d ' \n')
  _kafka_certificates "$dir/tls" "$store_password" || { echo "kafka: openssl could not make the run's certificates" >&2; return 1; }

  cat >"$dir/log4j2.properties" <<EOF
rootLogger.level = WARN
rootLogger.appenderRef.file.ref = file
appender.file.type = File
appender.file.name = file
appender.file.fileName = $dir/server.log
appender.file.layout.type = PatternLayout
appender.file.layout.pattern = [%d] %p %m (%c)%n
EOF
  cat >"$dir/log4j2-tools.properties" <<EOF
rootLogger.level = ERROR
rootLogger.appenderRef.stderr.ref = stderr
appender.stderr.type = Console
appender.stderr.name = stderr
appender.stderr.target = SYSTEM_ERR
appender.stderr.layout.type = PatternLayout
appender.stderr.layout.pattern = %p %m%n
EOF

  cat >"$dir/server.properties" <<EOF
process.roles=broker,controller
node.id=1
controller.quorum.voters=1@127.0.0.1:$controller
controller.listener.names=CONTROLLER
listeners=PLAINTEXT://127.0.0.1:$plain,SASL_PLAINTEXT://127.0.0.1:$sasl,SSL://127.0.0.1:$ssl,SASL_SSL://127.0.0.1:$sasl_ssl,CONTROLLER://127.0.0.1:$controller
advertised.listeners=PLAINTEXT://127.0.0.1:$plain,SASL_PLAINTEXT://127.0.0.1:$sasl,SSL://127.0.0.1:$ssl,SASL_SSL://127.0.0.1:$sasl_ssl
listener.security.protocol.map=PLAINTEXT:PLAINTEXT,SASL_PLAINTEXT:SASL_PLAINTEXT,SSL:SSL,SASL_SSL:SASL_SSL,CONTROLLER:PLAINTEXT
inter.broker.listener.name=PLAINTEXT
log.dirs=$dir/data

# SCRAM only, as managed clusters and the usual operators sign users in; the credentials are
# written into the node's storage when it is formatted.
sasl.enabled.mechanisms=SCRAM-SHA-256,SCRAM-SHA-512
listener.name.sasl_plaintext.scram-sha-256.sasl.jaas.config=org.apache.kafka.common.security.scram.ScramLoginModule required;
listener.name.sasl_plaintext.scram-sha-512.sasl.jaas.config=org.apache.kafka.common.security.scram.ScramLoginModule required;
listener.name.sasl_ssl.scram-sha-256.sasl.jaas.config=org.apache.kafka.common.security.scram.ScramLoginModule required;
listener.name.sasl_ssl.scram-sha-512.sasl.jaas.config=org.apache.kafka.common.security.scram.ScramLoginModule required;
ssl.keystore.type=PKCS12
ssl.keystore.location=$dir/tls/server.p12
ssl.keystore.password=$store_password
ssl.key.password=$store_password
ssl.client.auth=none

# Anonymous (the plaintext, TLS and controller listeners) and the administrator may do anything;
# the restricted user only what the ACLs below grant.
authorizer.class.name=org.apache.kafka.metadata.authorizer.StandardAuthorizer
super.users=User:ANONYMOUS;User:admin

# One node: internal topics with one replica and few partitions, groups that form at once.
offsets.topic.replication.factor=1
offsets.topic.num.partitions=3
transaction.state.log.replication.factor=1
transaction.state.log.min.isr=1
transaction.state.log.num.partitions=3
share.coordinator.state.topic.replication.factor=1
share.coordinator.state.topic.min.isr=1
group.initial.rebalance.delay.ms=0
num.partitions=1
auto.create.topics.enable=true
log.cleaner.backoff.ms=1000
log.retention.check.interval.ms=5000
EOF

  # The new consumer-group protocol is a preview the 3.x line serves only when asked to.
  case $KAFKA_SERVICE_VERSION in 3.*) echo "group.coordinator.rebalance.protocols=classic,consumer" >>"$dir/server.properties" ;; esac

  local cluster
  cluster=$(python3 -c 'import base64,uuid;print(base64.urlsafe_b64encode(uuid.uuid4().bytes).decode().rstrip("="))')
  if ! _kafka_java kafka.tools.StorageTool format --config "$dir/server.properties" --cluster-id "$cluster" \
       --add-scram "SCRAM-SHA-256=[name=admin,password=$admin_password]" \
       --add-scram "SCRAM-SHA-512=[name=admin,password=$admin_password]" \
       --add-scram "SCRAM-SHA-256=[name=reader,password=$reader_password]" \
       --add-scram "SCRAM-SHA-512=[name=reader,password=$reader_password]" >"$dir/format.log" 2>&1; then
    echo "kafka: formatting the node's storage failed:" >&2
    tail -n 20 "$dir/format.log" >&2
    return 1
  fi

  (exec java -Xms128m -Xmx512m -XX:+UseSerialGC -Xshare:auto -Djava.awt.headless=true \
     -Dlog4j2.configurationFile="$dir/log4j2.properties" -cp "$KAFKA_SERVICE_CLASSPATH" \
     kafka.Kafka "$dir/server.properties" >"$dir/stdout.log" 2>&1) &
  KAFKA_SERVICE_PID=$!

  local i
  for ((i = 0; i < 240; i++)); do
    if ! kill -0 "$KAFKA_SERVICE_PID" 2>/dev/null; then
      echo "kafka: the broker ended while starting; its log:" >&2
      tail -n 30 "$dir/server.log" "$dir/stdout.log" >&2
      KAFKA_SERVICE_PID=""
      return 1
    fi
    _kafka_answers "127.0.0.1:$plain" && break
    sleep 0.25
  done
  if ! _kafka_answers "127.0.0.1:$plain"; then
    echo "kafka: the broker did not answer on 127.0.0.1:$plain within 60 s" >&2
    stop_kafka
    return 1
  fi

  # The restricted user may see and read one topic and see another without reading it; nothing
  # else (no group, no other topic).
  local reader_topic=tessaron-reader-topic glimpse_topic=tessaron-reader-glimpse
  # The ACL tool moved from the broker's own package to the tools' in 4.0.
  local acl_tool=org.apache.kafka.tools.AclCommand
  case $KAFKA_SERVICE_VERSION in 3.*) acl_tool=kafka.admin.AclCommand ;; esac
  if ! _kafka_java "$acl_tool" --bootstrap-server "127.0.0.1:$plain" --add \
       --allow-principal User:reader --operation Read --operation Describe --topic "$reader_topic" \
       >"$dir/acl.log" 2>&1 ||
     ! _kafka_java "$acl_tool" --bootstrap-server "127.0.0.1:$plain" --add \
       --allow-principal User:reader --operation Describe --topic "$glimpse_topic" >>"$dir/acl.log" 2>&1; then
    echo "kafka: the restricted user's ACLs could not be set:" >&2
    tail -n 20 "$dir/acl.log" >&2
    stop_kafka
    return 1
  fi

  export TESSARON_TEST_KAFKA_BOOTSTRAP="127.0.0.1:$plain"
  export TESSARON_TEST_KAFKA_SASL_BOOTSTRAP="127.0.0.1:$sasl"
  export TESSARON_TEST_KAFKA_SSL_BOOTSTRAP="127.0.0.1:$ssl"
  export TESSARON_TEST_KAFKA_SASL_SSL_BOOTSTRAP="127.0.0.1:$sasl_ssl"
  export TESSARON_TEST_KAFKA_VERSION="$KAFKA_SERVICE_VERSION"
  export TESSARON_TEST_KAFKA_CA_FILE="$dir/tls/ca.pem"
  export TESSARON_TEST_KAFKA_ADMIN_USER=admin TESSARON_TEST_KAFKA_ADMIN_PASSWORD="$admin_password"
  export TESSARON_TEST_KAFKA_READER_USER=reader TESSARON_TEST_KAFKA_READER_PASSWORD="$reader_password"
  export TESSARON_TEST_KAFKA_READER_TOPIC="$reader_topic" TESSARON_TEST_KAFKA_GLIMPSE_TOPIC="$glimpse_topic"
  # The broker's process, so a test can stop it (SIGSTOP) and resume it (SIGCONT) under a session.
  export TESSARON_TEST_KAFKA_PID="$KAFKA_SERVICE_PID"
  # The broker's own console clients, for the demo's groups.
  export TESSARON_KAFKA_CLASSPATH="$KAFKA_SERVICE_CLASSPATH"
  echo "kafka: broker $KAFKA_SERVICE_VERSION at 127.0.0.1:$plain (SASL $sasl, TLS $ssl, SASL over TLS $sasl_ssl)"
  return 0
}

stop_kafka() {
  unset TESSARON_TEST_KAFKA_BOOTSTRAP TESSARON_TEST_KAFKA_SASL_BOOTSTRAP TESSARON_TEST_KAFKA_SSL_BOOTSTRAP \
    TESSARON_TEST_KAFKA_SASL_SSL_BOOTSTRAP TESSARON_TEST_KAFKA_VERSION \
    TESSARON_TEST_KAFKA_CA_FILE TESSARON_TEST_KAFKA_ADMIN_USER TESSARON_TEST_KAFKA_ADMIN_PASSWORD \
    TESSARON_TEST_KAFKA_READER_USER TESSARON_TEST_KAFKA_READER_PASSWORD TESSARON_TEST_KAFKA_READER_TOPIC TESSARON_TEST_KAFKA_GLIMPSE_TOPIC \
    TESSARON_KAFKA_CLASSPATH TESSARON_TEST_KAFKA_PID
  if [ -n "${KAFKA_SERVICE_PID:-}" ]; then
    # A test that stopped the broker and died before resuming it would leave TERM pending.
    kill -CONT "$KAFKA_SERVICE_PID" 2>/dev/null || true
    # TERM is the broker's orderly shutdown; one node has no one to hand its partitions to.
    kill -TERM "$KAFKA_SERVICE_PID" 2>/dev/null || true
    local i
    for ((i = 0; i < 100; i++)); do
      kill -0 "$KAFKA_SERVICE_PID" 2>/dev/null || break
      sleep 0.2
    done
    kill -KILL "$KAFKA_SERVICE_PID" 2>/dev/null || true
    wait "$KAFKA_SERVICE_PID" 2>/dev/null || true
    KAFKA_SERVICE_PID=""
  fi
  [ -n "${KAFKA_SERVICE_DIR:-}" ] && rm -rf "$KAFKA_SERVICE_DIR"
  KAFKA_SERVICE_DIR=""
  return 0
}

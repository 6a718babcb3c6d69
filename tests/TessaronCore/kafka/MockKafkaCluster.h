#pragma once

// Moved to tests/support; kept for the demo brokers, which include it by this name.
#include "support/MockKafkaCluster.h"

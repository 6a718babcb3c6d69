#include <QTest>
class TestWorkspace : public QObject { Q_OBJECT };
QTEST_MAIN(TestWorkspace)
#include "tst_Workspace.moc"

#include "app/job.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace tolvimar;

// The job facility by itself: where the work runs, how its end and progress arrive,
// and that a cancel never counts once the work is past its commit.
class TestJobs : public QObject
{
    Q_OBJECT
private slots:
    void workRunsOffThisThreadAndEndsHere()
    {
        Job job;
        QThread *workThread = nullptr;
        QThread *finishedOn = nullptr;
        connect(&job, &Job::finished, this, [&] { finishedOn = QThread::currentThread(); });
        QSignalSpy finished(&job, &Job::finished);
        job.start([&](JobControl &control) {
            workThread = QThread::currentThread();
            for (int line = 1; line <= 100000; ++line)
                control.setLine(line);
            control.setStep(QStringLiteral("fertig"));
        });
        QVERIFY(job.isRunning());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.size(), 1);
        QVERIFY(workThread && workThread != QThread::currentThread());
        QCOMPARE(finishedOn, QThread::currentThread());
        QVERIFY(!job.isRunning());
        // The newest values are there when the end is told.
        QCOMPARE(job.progress().line, 100000);
        QCOMPARE(job.progress().step, QStringLiteral("fertig"));
    }

    // A hundred thousand reports do not become a hundred thousand queued notices.
    void progressNoticesAreCoalesced()
    {
        Job job;
        int notices = 0;
        connect(&job, &Job::progressed, this, [&] { ++notices; });
        QSignalSpy finished(&job, &Job::finished);
        job.start([](JobControl &control) {
            for (int line = 1; line <= 100000; ++line)
                control.setLine(line);
        });
        QVERIFY(finished.wait(10000));
        QVERIFY2(notices < 1000, qPrintable(QString::number(notices)));
    }

    void cancelStopsTheWorkAtItsNextCheck()
    {
        Job job;
        QSignalSpy finished(&job, &Job::finished);
        std::atomic<bool> stopped {false};
        std::atomic<bool> started {false};
        job.start([&](JobControl &control) {
            started = true;
            try {
                for (;;) {
                    control.checkCancelled();
                    QThread::msleep(1);
                }
            } catch (const JobCancelled &) {
                stopped = true;
            }
        });
        QTRY_VERIFY(started);
        QVERIFY(!finished.wait(50));
        job.cancel();
        QVERIFY(finished.wait(10000));
        QVERIFY(stopped);
        QVERIFY(job.isCancelled());
    }

    // Whichever comes first decides: a cancel before the commit stops it, one after it
    // is refused, so that nobody is told of a stop that did not happen.
    void cancelAndCommitExcludeEachOther()
    {
        JobControl beforeCommit;
        QVERIFY(beforeCommit.requestCancel());
        QVERIFY_THROWS_EXCEPTION(JobCancelled, beforeCommit.passPointOfNoReturn());
        QVERIFY(beforeCommit.isCancelled());

        JobControl afterCommit;
        afterCommit.passPointOfNoReturn();
        QVERIFY(!afterCommit.requestCancel());
        QVERIFY(!afterCommit.isCancelled());
        afterCommit.checkCancelled(); // does not throw
    }
};

QTEST_GUILESS_MAIN(TestJobs)
#include "test_jobs.moc"

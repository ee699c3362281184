#pragma once
// Sample series of a quick-test plot: one shared time series and N value series, at most
// `cap` samples each (the oldest dropped first), sampled at most every 0.01 s and refreshed
// at most every 0.1 s of plot time.
#include <QVector>

class QuickTestSeries {
public:
    QuickTestSeries(int count, int cap) : m_values(count), m_cap(cap) {}
    // True when a sample is due at plot time t (seconds).
    bool sampleDue(double t) const { return t - m_lastSample > 0.01; }
    bool refreshDue(double t) const { return t - m_lastRefresh > 0.1; }
    void markRefreshed(double t) { m_lastRefresh = t; }
    // Appends one sample: values[0..count).
    template <class F> void append(double t, F valueOf)
    {
        m_lastSample = t;
        if (m_time.size() >= m_cap) {
            m_time.removeFirst();
            for (auto &s : m_values)
                s.removeFirst();
        }
        m_time.append(t);
        for (int i = 0; i < m_values.size(); ++i)
            m_values[i].append(valueOf(i));
    }
    const QVector<double> &time() const { return m_time; }
    const QVector<double> &values(int i) const { return m_values[i]; }
    int size() const { return m_time.size(); }

private:
    QVector<double> m_time;
    QVector<QVector<double>> m_values;
    int m_cap;
    double m_lastSample = 0;
    double m_lastRefresh = 0;
};

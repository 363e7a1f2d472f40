// The ephemeris floor: only the raw library calls one chart cannot avoid (select the
// sidereal mode, 2 house calls, 9 position calls), over the same kind of instants and
// places the chart benchmark uses. Prints instants per second.
#include <swephexp.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> jd_dist(2415020.5, 2488069.5);  // 1900..2100
    std::uniform_real_distribution<double> lat_dist(-60.0, 60.0), lon_dist(-180.0, 180.0);
    struct Instant {
        double jd, lat, lon;
    };
    std::vector<Instant> instants;
    for (int i = 0; i < count; ++i)
        instants.push_back({jd_dist(rng), lat_dist(rng), lon_dist(rng)});

    const int bodies[9] = {SE_SUN,   SE_MOON,   SE_MARS,      SE_MERCURY,  SE_JUPITER,
                           SE_VENUS, SE_SATURN, SE_TRUE_NODE, SE_TRUE_NODE};
    double sink = 0.0;
    auto run = [&] {
        for (const Instant& t : instants) {
            double cusps[13], angles[10], xx[6];
            char serr[AS_MAXCH];
            swe_set_sid_mode(SE_SIDM_LAHIRI, 0, 0);
            swe_houses_ex(t.jd, SEFLG_SIDEREAL, t.lat, t.lon, 'E', cusps, angles);
            swe_houses_ex(t.jd, SEFLG_SIDEREAL, t.lat, t.lon, 'E', cusps, angles);
            sink += angles[0];
            for (int body : bodies) {
                swe_calc_ut(t.jd, body, SEFLG_SPEED | SEFLG_SIDEREAL, xx, serr);
                sink += xx[0];
            }
        }
    };
    run();  // warm the library's caches and open its files
    const auto start = std::chrono::steady_clock::now();
    run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f\n", count / seconds);
    return sink == 12345.678 ? 1 : 0;
}

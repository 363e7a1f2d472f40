// The cubic through two samples' values and rates (cubic Hermite interpolation): the
// samples y0 and y1 lie `span` apart (in days, say), with rates m0 and m1 per unit of that
// span. At the fraction s of the way (0 at the first sample, 1 at the second) it gives the
// value and its rate per unit. Exact for cubics; for a smooth function its error is at most
// span^4 / 384 times the function's largest fourth derivative.
#pragma once

namespace zk {

class CubicHermite {
  public:
    constexpr CubicHermite(double s, double span) {
        const double s2 = s * s, s3 = s2 * s;
        v0_ = 2 * s3 - 3 * s2 + 1;
        vm0_ = (s3 - 2 * s2 + s) * span;
        v1_ = -2 * s3 + 3 * s2;
        vm1_ = (s3 - s2) * span;
        r0_ = (6 * s2 - 6 * s) / span;
        rm0_ = 3 * s2 - 4 * s + 1;
        r1_ = -r0_;
        rm1_ = 3 * s2 - 2 * s;
    }

    constexpr double value(double y0, double m0, double y1, double m1) const {
        return v0_ * y0 + vm0_ * m0 + v1_ * y1 + vm1_ * m1;
    }
    constexpr double rate(double y0, double m0, double y1, double m1) const {
        return r0_ * y0 + rm0_ * m0 + r1_ * y1 + rm1_ * m1;
    }

  private:
    double v0_, vm0_, v1_, vm1_;  // weights of the value
    double r0_, rm0_, r1_, rm1_;  // weights of its rate
};

}  // namespace zk

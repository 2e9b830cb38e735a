// Node preload (node -r) that stops the clock at VELKOR_FIXED_TIME_MS
// milliseconds since 1970, so that a run of velkor-node.js draws the same
// seed and writes the same report date as a native run pinned the same way.
"use strict";
const fixed = Number(process.env.VELKOR_FIXED_TIME_MS);
if (Number.isFinite(fixed)) {
  const RealDate = Date;
  class FixedDate extends RealDate {
    constructor(...args) {
      if (args.length === 0) super(fixed);
      else super(...args);
    }
    static now() {
      return fixed;
    }
  }
  globalThis.Date = FixedDate;
}

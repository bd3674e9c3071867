#include "teaching/interfile_projection.h"

#include <stdio.h>
#include <string.h>

#include <filesystem>

#include "teaching/host_path.h"
#include "teaching/interfile_header.h"
#include "teaching/projection_data.h"
#include "teaching/projection_resampling.h"
#include "teaching/tool_error.h"

int FactCount;
char Fact[FactLines][FactBytes];

const long SegmentsMax = HeaderListMax;
const long AxialMax = 100000;
static long AxialSizes[SegmentsMax];      // axial positions of each segment, in file order
static long LowestDifference[SegmentsMax];   // minimum ring difference of each segment
static long HighestDifference[SegmentsMax];

static void AddFact(const char *text) {
    if (FactCount < FactLines) snprintf(Fact[FactCount++], FactBytes, "%s", text);
}

static int Fails(const char *key, const char *why) {
    const char *value = HeaderText(key);
    return Refuse("%s%s%s: %s", key, value ? " := " : " is absent", value ? Printable(value) : "", why);
}

// Refusals of data that are not one set of PET sinograms.
static int IsPetSinograms() {
    if (HeaderText("imaging modality") && !HeaderIs("imaging modality", "PT|PET"))
        return Fails("!imaging modality", "only PET data can be imported");
    if (HeaderText("type of data") && !HeaderIs("type of data", "PET"))
        return Fails("!type of data", "only PET projection data can be imported, not SPECT or images");
    if (HeaderText("PET data type") && !HeaderIs("PET data type", "Emission|Transmission"))
        return Fails("!PET data type", "only emission or transmission sinograms can be imported, not list mode");
    double tof = 1.0;
    if (!HeaderNumber("number of TOF time bins", 0, 1e9, &tof)) return 0;
    if (tof > 1.0) return Fails("number of TOF time bins", "time-of-flight data cannot be imported");
    long dimensions = 0;
    if (!HeaderWhole("number of dimensions", 1, 100, &dimensions)) return 0;
    if (dimensions == 5) return Fails("number of dimensions", "time-of-flight data cannot be imported");
    if (dimensions != 4) return Fails("number of dimensions", "projection data have 4");
    if (!HeaderIs("matrix axis label [1]", "tangential coordinate"))
        return Fails("matrix axis label [1]", "the import reads tangential coordinate here");
    if (!HeaderIs("matrix axis label [4]", "segment")) return Fails("matrix axis label [4]", "the import reads segment here");
    return 1;
}

int DescribeInterfileProjections(const char *path, long segment, long frame) {
    FactCount = 0;
    if (!ReadInterfileHeader(path) || !IsPetSinograms()) return 0;
    const char *name = HeaderText("name of data file");
    if (!name || !*name) return Fails("name of data file", "the data file must be named");
    std::filesystem::path data = HostPath(name);
    if (data.is_relative()) data = HostPath(path).parent_path() / data;
    if (!HostPathText(data, DataPath, DataPathBytes)) return Fails("name of data file", "the path is too long");
    int byView = HeaderIs("matrix axis label [3]", "view") && HeaderIs("matrix axis label [2]", "axial coordinate");
    int bySinogram = HeaderIs("matrix axis label [2]", "view") && HeaderIs("matrix axis label [3]", "axial coordinate");
    if (!byView && !bySinogram)
        return Fails("matrix axis label [2]", "labels [2] and [3] must be view and axial coordinate, in either order");
    const char *axialKey = byView ? "!matrix size [2]" : "!matrix size [3]";
    const char *viewKey = byView ? "!matrix size [3]" : "!matrix size [2]";
    long segments = 0, views = 0, positions = 0;
    if (!HeaderWhole("!matrix size [4]", 1, SegmentsMax, &segments) ||
        !HeaderWhole(viewKey, 1, SourceViewsMax, &views) || !HeaderWhole("!matrix size [1]", 1, SourcePositionsMax, &positions))
        return 0;
    if (!segments) return Fails("!matrix size [4]", "the number of segments is needed");
    if (!views) return Fails(viewKey, "the number of views is needed");
    if (!positions) return Fails("!matrix size [1]", "the number of tangential positions is needed");
    int count = 0, lows = 0, highs = 0;
    if (!HeaderWholeList(axialKey, 1, AxialMax, AxialSizes, (int)SegmentsMax, &count)) return 0;
    if (count != segments) return Fails(axialKey, "one axial size per segment is needed");
    if (!HeaderWholeList("minimum ring difference per segment", -100000, 100000, LowestDifference, (int)SegmentsMax, &lows) ||
        !HeaderWholeList("maximum ring difference per segment", -100000, 100000, HighestDifference, (int)SegmentsMax, &highs))
        return 0;
    if (segments == 1 && lows == 0 && highs == 0) lows = highs = 1, LowestDifference[0] = HighestDifference[0] = 0;
    if (lows != segments) return Fails("minimum ring difference per segment", "one ring difference per segment is needed");
    if (highs != segments) return Fails("maximum ring difference per segment", "one ring difference per segment is needed");
    // Segment numbers count outward from the one that holds ring difference 0.
    int zero = -1;
    for (int k = 0; k < segments; k++) {
        if (LowestDifference[k] > HighestDifference[k])
            return Fails("minimum ring difference per segment", "each minimum must be at most its maximum");
        if (LowestDifference[k] <= 0 && HighestDifference[k] >= 0) zero = k;
    }
    if (zero < 0) return Fails("minimum ring difference per segment", "no segment holds ring difference 0");
    int chosen = -1;
    for (int k = 0; k < segments; k++) {
        long rank = 0;
        for (int j = 0; j < segments; j++) rank += (LowestDifference[j] < LowestDifference[k]) - (LowestDifference[j] < LowestDifference[zero]);
        if (rank == segment) chosen = k;
    }
    if (chosen < 0) return Refuse("--segment %ld: the data have no segment %ld", segment, segment);

    // Numbers.
    long bytes = 0;
    if (!HeaderWhole("!number of bytes per pixel", 1, 8, &bytes)) return 0;
    if (HeaderIs("!number format", "float|short float|long float")) {
        DataNumberKind = NumberFloat;
        if (bytes == 0) bytes = 4;
        if (bytes != 4 && bytes != 8) return Fails("!number of bytes per pixel", "floats have 4 or 8 bytes");
    } else if (HeaderIs("!number format", "signed integer|unsigned integer")) {
        DataNumberKind = HeaderIs("!number format", "signed integer") ? NumberSigned : NumberUnsigned;
        if (bytes != 1 && bytes != 2 && bytes != 4) return Fails("!number of bytes per pixel", "integers have 1, 2 or 4 bytes");
    } else {
        return Fails("!number format", "the import reads float, signed integer or unsigned integer");
    }
    DataNumberBytes = (int)bytes;
    if (HeaderText("imagedata byte order") && !HeaderIs("imagedata byte order", "LITTLEENDIAN|BIGENDIAN"))
        return Fails("imagedata byte order", "LITTLEENDIAN or BIGENDIAN");
    DataBigEndian = !HeaderIs("imagedata byte order", "LITTLEENDIAN");
    long frames = 1;
    if (!HeaderWhole("number of time frames", 1, 100000, &frames)) return 0;
    if (frame > frames) return Refuse("--frame %ld: the data have %ld time frame%s", frame, frames, frames == 1 ? "" : "s");
    char offsetKey[64], scaleKey[64];
    snprintf(offsetKey, sizeof offsetKey, "data offset in bytes[%ld]", frame);
    snprintf(scaleKey, sizeof scaleKey, "image scaling factor[%ld]", frame);
    long long frameBytes = 0, before = 0;
    for (int k = 0; k < segments; k++) {
        if (k == chosen) before = frameBytes;
        frameBytes += (long long)AxialSizes[k] * views * positions * bytes;
    }
    double offset = 0.0, first = 0.0;
    if (!HeaderNumber("data offset in bytes[1]", 0, 1e15, &first) || !HeaderNumber(offsetKey, 0, 1e15, &offset)) return 0;
    if (!HeaderText(offsetKey)) offset = first + (double)(frame - 1) * (double)frameBytes;
    if (offset != (double)(long long)offset) return Fails(offsetKey, "a whole number of bytes is needed");
    DataScale = 1.0;
    if (!HeaderNumber(scaleKey, -1e30, 1e30, &DataScale)) return 0;
    if (DataScale == 0.0) return Fails(scaleKey, "a scaling factor of 0 leaves nothing");
    DataStart = (long long)offset + before;
    DataEnd = (long long)offset + frameBytes;
    DataAxialCount = AxialSizes[chosen];
    DataViewStride = byView ? (long long)DataAxialCount * positions : positions;
    DataAxialStride = byView ? positions : (long long)views * positions;

    // Geometry.
    SourceViews = (int)views;
    SourcePositions = (int)positions;
    SourceCentre = (double)(positions / 2);
    SourceFlipsY = 1;
    SourceFirstViewDegrees = 0.0;
    if (!HeaderNumber("View offset (degrees)", -360, 360, &SourceFirstViewDegrees)) return 0;
    int arc = !HeaderText("applied corrections") || HeaderHolds("applied corrections", "arc correction");
    SourceRadiusMm = 0.0;
    if (arc) {
        double cm = -1.0;
        const char *key = HeaderText("effective central bin size (cm)") ? "effective central bin size (cm)"
                                                                         : "Default bin size (cm)";
        if (!HeaderNumber(key, -1e9, 1e9, &cm)) return 0;
        if (!(cm > 0.0)) return Fails(key, "arc-corrected data need a bin size above 0");
        SourceBinMm = 10.0 * cm;
    } else {
        double diameter = -1.0, depth = 0.0;
        long detectors = 0;
        if (!HeaderNumber("Inner ring diameter (cm)", -1e9, 1e9, &diameter) ||
            !HeaderNumber("Average depth of interaction (cm)", 0, 1e9, &depth) ||
            !HeaderWhole("Number of detectors per ring", 0, 1000000, &detectors))
            return 0;
        if (!(diameter > 0.0)) return Fails("Inner ring diameter (cm)", "data without arc correction need the ring's size");
        if (detectors < 2 * (positions / 2 + 1))
            return Fails("Number of detectors per ring", "data without arc correction need more than the tangential positions");
        SourceRadiusMm = 10.0 * (diameter / 2.0 + depth);
        SourceDetectors = (int)detectors;
    }

    char line[FactBytes];
    const char *sizeKeys = byView ? "[2]" : "[3]";
    snprintf(line, sizeof line, "size: %ld segment%s; this one %ld axial positions x %ld views x %ld tangential positions",
             segments, segments == 1 ? "" : "s", DataAxialCount, views, positions);
    AddFact(line);
    snprintf(line, sizeof line, "order: by %s (axial coordinate is label %s)", byView ? "view" : "sinogram", sizeKeys);
    AddFact(line);
    snprintf(line, sizeof line, "segment %ld: ring differences %ld to %ld, number %d of %ld in the file, at byte %lld of %s",
             segment, LowestDifference[chosen], HighestDifference[chosen], chosen + 1, segments, DataStart, Printable(DataPath));
    AddFact(line);
    if (arc)
        snprintf(line, sizeof line, "bins: arc-corrected, %g mm apart; view 0 at %g degrees", SourceBinMm, SourceFirstViewDegrees);
    else
        snprintf(line, sizeof line, "bins: not arc-corrected, %g mm sin(t x 180 / %d); view 0 at %g degrees", SourceRadiusMm,
                 SourceDetectors, SourceFirstViewDegrees);
    AddFact(line);
    snprintf(line, sizeof line, "numbers: %d-byte %s, %s, times %g; frame %ld of %ld", DataNumberBytes,
             DataNumberKind == NumberFloat ? "floats" : DataNumberKind == NumberSigned ? "signed integers" : "unsigned integers",
             DataBigEndian ? "big-endian" : "little-endian", DataScale, frame, frames);
    AddFact(line);
    return 1;
}

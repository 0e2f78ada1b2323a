#pragma once
// What the program and an image worker process say to each other over the worker's standard
// input and output: frames of a 32-bit length (host order: both ends are the same build) and a
// payload, one job per frame going in, one result per frame coming back.
#include "imaging/pipeline/ImagePipeline.h"

#include <QByteArray>

#include <cstdint>

QByteArray EncodeJob(const PipelineJob& job);
bool DecodeJob(const QByteArray& payload, PipelineJob& job);
QByteArray EncodeResult(const PipelineResult& result);
// False for a payload that is not a whole, consistent result.
bool DecodeResult(const QByteArray& payload, PipelineResult& result);

// A payload with its length in front.
QByteArray Frame(const QByteArray& payload);
// Takes one whole frame's payload from the front of buffer; false while the frame is incomplete.
bool TakeFrame(QByteArray& buffer, QByteArray& payload);

// The largest frame either side accepts: a result bitmap of 1 GiB and its header.
inline constexpr std::uint32_t MaxFrameBytes = (1u << 30) + 4096;

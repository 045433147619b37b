// The generation run: script, avatar, render, polling.
#include "workflow/UGCAppState.h"

#include "foundation/BundleInfo.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"

#include <QUuid>

namespace vexora {

namespace {

constexpr std::chrono::milliseconds pollInterval(2000);

QString newRandomID() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

}  // namespace

void UGCAppState::generate() {
    if (!canGenerate() || !authState_.tenantID) return;
    const QString tenantID = *authState_.tenantID;
    publishTask_.abandon();
    auto [runID, stop] = pipelineTask_.begin();
    clearPipelineOutput(true);
    recomputeStatusIconState();
    runPipeline(this, runID, tenantID, stop);
}

QCoro::Task<void> UGCAppState::runPipeline(QPointer<UGCAppState> self, QUuid runID, QString tenantID, std::stop_token stop) {
    if (!self) co_return;
    if (self->runtimeConfiguration_.stubMode) co_await self->runStubPipeline(runID, stop);
    else co_await self->runLivePipeline(runID, tenantID, stop);
}

QCoro::Task<void> UGCAppState::runLivePipeline(QUuid runID, QString tenantID, std::stop_token stop) {
    QPointer<UGCAppState> self(this);
    std::exception_ptr failure;
    bool rendered = false;  // the render was submitted and its polling has returned
    try {
        rendered = co_await runLiveSteps(runID, tenantID, stop);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) co_return;
    if (rendered && autoPublish_ && !publishTargets(false).isEmpty()) publishCurrent(false);
    if (failure && !isCancellationLike(failure) && pipelineTask_.isCurrent(runID)) {
        setErrorMessage(errorText(failure));
        setStep(UGCStep::error);
    }
    if (pipelineTask_.isCurrent(runID)) pipelineTask_.release();
    recomputeStatusIconState();
}

// Every request is a named local: g++ 12 destroys aggregate temporaries of a co_await
// expression twice.
QCoro::Task<bool> UGCAppState::runLiveSteps(QUuid runID, QString tenantID, std::stop_token stop) {
    QPointer<UGCAppState> self(this);
    auto isStale = [&] { return !self || !pipelineTask_.isCurrent(runID) || !isTenantCurrent(tenantID); };
    setStep(UGCStep::script);
    ScriptRequest scriptRequest;
    scriptRequest.tenantId = tenantID;
    scriptRequest.topic = topic_;
    scriptRequest.productId = selectedProductID_;
    scriptRequest.favoriteId = selectedFavoriteID_;
    if (selectedSuggestion_) scriptRequest.gapId = selectedSuggestion_->gapID;
    scriptRequest.duration = selectedDuration_ == UGCDuration::fifteen ? QStringLiteral("long") : QStringLiteral("short");
    scriptRequest.requestedDurationSeconds = seconds(selectedDuration_);
    scriptRequest.language = language_;
    ScriptResponse written = co_await apiClient_->createScript(scriptRequest, stop);
    if (isStale()) co_return false;
    setScript(written.script);
    setTitle(written.title);
    setDbID(written.dbID);

    QString avatar;
    if (reusedAvatarURL_ && !reusedAvatarURL_->isEmpty()) {
        avatar = *reusedAvatarURL_;
    } else {
        setStep(UGCStep::avatar);
        AvatarRequest avatarRequest;
        avatarRequest.tenantId = tenantID;
        avatarRequest.dbID = written.dbID;
        avatarRequest.traits = avatarTraitsForRequest();
        AvatarResponse face = co_await apiClient_->createAvatar(avatarRequest, stop);
        if (isStale()) co_return false;
        avatar = face.avatarURL;
    }
    setAvatarURL(avatar);
    setStep(UGCStep::video);

    // Read now: a change the user made meanwhile counts for the render.
    VideoRequest videoRequest;
    videoRequest.tenantId = tenantID;
    videoRequest.dbID = written.dbID;
    videoRequest.avatarURL = avatar;
    videoRequest.reuseAvatar = reusedAvatarURL_ && !reusedAvatarURL_->isEmpty();
    videoRequest.duration = seconds(selectedDuration_);
    videoRequest.speechText = written.script;
    VideoResponse render = co_await apiClient_->generateVideo(videoRequest, stop);
    if (isStale()) co_return false;
    setGenerationID(render.generationID);
    const QString generation = render.generationID;
    co_await pollUntilComplete(runID, tenantID, generation, stop);
    co_return true;
}

QCoro::Task<bool> UGCAppState::pollUntilComplete(QUuid runID, QString tenantID, QString generationID, std::stop_token stop) {
    QPointer<UGCAppState> self(this);
    setStep(UGCStep::polling);
    UGCClock& clock = *clock_;
    const double deadline = clock.now() + runtimeConfiguration_.liveVideoPollTimeoutSeconds;
    while (true) {
        if (!(clock.now() < deadline))
            throw APIClientError::http(408, QStringLiteral("Video generation timed out. Please try again."));
        if (stop.stop_requested()) throw CancellationError();
        co_await clock.sleep(pollInterval, stop);
        if (!self) co_return false;
        const PollResponse poll = co_await apiClient_->pollVideo(generationID, tenantID, stop);
        if (!self || !pipelineTask_.isCurrent(runID) || !isTenantCurrent(tenantID) || generationID_ != generationID)
            co_return false;
        if (poll.status == QLatin1String("completed")) {
            if (!poll.videoURL || poll.videoURL->isEmpty()) throw APIClientError::invalidResponse();
            setVideoURL(poll.videoURL);
            setStep(UGCStep::complete);
            co_return true;
        }
        if (poll.status == QLatin1String("failed"))
            throw APIClientError::http(500, poll.error.value_or(QStringLiteral("Video generation failed")));
    }
}

QCoro::Task<void> UGCAppState::runStubPipeline(QUuid runID, std::stop_token stop) {
    QPointer<UGCAppState> self(this);
    auto isStale = [&] { return !self || !pipelineTask_.isCurrent(runID); };
    const QString downloadHost = builtInDownloadHost();
    try {
        setStep(UGCStep::script);
        co_await clock_->sleep(std::chrono::milliseconds(250), stop);
        if (isStale()) co_return;
        setScript(QStringLiteral("Short-form UGC script for: ") + topic_);
        setTitle(topic_);
        setDbID(newRandomID());
        setStep(reusedAvatarURL_ ? UGCStep::video : UGCStep::avatar);
        co_await clock_->sleep(std::chrono::milliseconds(250), stop);
        if (isStale()) co_return;
        setAvatarURL(reusedAvatarURL_ ? reusedAvatarURL_ : downloadHost + QStringLiteral("/agent/avatars/stub/avatar.png"));
        setStep(UGCStep::video);
        co_await clock_->sleep(std::chrono::milliseconds(350), stop);
        if (isStale()) co_return;
        setGenerationID(newRandomID());
        setVideoURL(downloadHost + QStringLiteral("/agent/videos/stub/video.mp4"));
        setStep(UGCStep::complete);
        qInfo("VexoraUGCVolley debug autogenerate completed");
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        if (!self) co_return;
        if (!isCancellationLike(failure)) {
            const QString text = errorText(failure);
            setErrorMessage(text);
            setStep(UGCStep::error);
            qWarning("VexoraUGCVolley debug autogenerate failed: %s", qUtf8Printable(text));
        }
    }
    if (!self) co_return;
    if (pipelineTask_.isCurrent(runID)) pipelineTask_.release();
    recomputeStatusIconState();
}

void UGCAppState::clearPipelineOutput(bool keepForm) {
    setScript(std::nullopt);
    setTitle(std::nullopt);
    setDbID(std::nullopt);
    setGenerationID(std::nullopt);
    setAvatarURL(std::nullopt);
    setVideoURL(std::nullopt);
    setPublishResults({});
    setErrorMessage(std::nullopt);
    setStep(UGCStep::idle);
    if (keepForm) return;
    setSelectedSuggestion(std::nullopt);
    setReusedAvatarURL(std::nullopt);
}

void UGCAppState::resetPipeline() {
    for (UGCTaskSlot* slot : {&pipelineTask_, &publishTask_}) {
        slot->abandon();
    }
    clearPipelineOutput(false);
    setTopic(QString());
    setSelectedFavoriteID(std::nullopt);
    setSelectedProductID(std::nullopt);
    setSelectedDuration(UGCDuration::five);
    recomputeStatusIconState();
}

void UGCAppState::generateAnother() {
    const QString kept = topic_;
    clearPipelineOutput(true);
    setTopic(kept);
    recomputeStatusIconState();
}

}  // namespace vexora

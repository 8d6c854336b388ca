#include "platform/CurlWait.h"

#include "platform/NetworkWait.h"

#include <QElapsedTimer>

#include <curl/curl.h>

namespace vcm {

namespace {

/// Longest time without a pass of the paint events while data flows.
constexpr int kPaintSliceMs = 20;

/// The wait of the transfer performWaiting is running on this thread, if any.
thread_local NetworkWait* t_activeWait = nullptr;

struct Progress {
  NetworkWait& wait;
  QElapsedTimer& sincePaint;
  curl_off_t moved = 0;

  /// Also called, about once a second, from inside the few waits that curl makes on its
  /// own (an FTP upload's final reply): the windows paint there too, and a silent server
  /// is given up there as well.
  static int callback(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                      curl_off_t ulnow)
  {
    Q_UNUSED(dltotal);
    Q_UNUSED(ultotal);
    auto* p = static_cast<Progress*>(self);
    if (dlnow + ulnow != p->moved) {
      p->moved = dlnow + ulnow;
      p->wait.progress();
    }
    if (p->sincePaint.elapsed() >= kPaintSliceMs) {
      p->wait.idle();
      p->sincePaint.restart();
    }
    return p->wait.stalled() ? 1 : 0;
  }
};

} // namespace

int performWaiting(CURLM* multi, CURL* easy, bool* stalled)
{
  if (stalled)
    *stalled = false;
  NetworkWait wait;
  NetworkWait* const outer = t_activeWait;
  t_activeWait = &wait;
  QElapsedTimer sincePaint;
  sincePaint.start();
  Progress progress{wait, sincePaint};
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Progress::callback);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
    t_activeWait = outer;
    return CURLE_FAILED_INIT;
  }

  CURLcode result = CURLE_OK;
  for (;;) {
    int running = 0;
    curl_multi_perform(multi, &running);
    bool done = false;
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) {
        result = msg->data.result;
        done = true;
      }
    }
    if (done) {
      if (result == CURLE_ABORTED_BY_CALLBACK || (result != CURLE_OK && wait.stalled())) {
        result = CURLE_OPERATION_TIMEDOUT;
        if (stalled)
          *stalled = true;
      }
      break;
    }
    if (wait.stalled()) {
      result = CURLE_OPERATION_TIMEDOUT;
      if (stalled)
        *stalled = true;
      break;
    }
    int ready = 0;
    curl_multi_poll(multi, nullptr, 0, kPaintSliceMs, &ready);
    if (ready > 0)
      wait.progress();
    if (ready == 0 || sincePaint.elapsed() >= kPaintSliceMs) {
      wait.idle();
      sincePaint.restart();
    }
  }
  curl_multi_remove_handle(multi, easy);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 1L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, nullptr);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, nullptr);
  t_activeWait = outer;
  return result;
}

bool awaitReadableDuringTransfer(qintptr fd)
{
  return t_activeWait && t_activeWait->waitSocket(fd, NetworkWait::Read) != 0;
}

} // namespace vcm

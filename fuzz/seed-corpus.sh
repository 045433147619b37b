#!/usr/bin/env bash
# Collects real replies of the local service into fuzz/corpus/<target>/ as seeds. A seed is the
# digit that picks the target's decoder followed by the reply body; the stored formats' seeds
# (preferences, session, auth state, appcast extras) are written by hand and kept as they are.
# usage: fuzz/seed-corpus.sh [PATH-TO-vexora-devserver]   (default build/tools/devserver/vexora-devserver)
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
server=${1:-build/tools/devserver/vexora-devserver}
corpus=fuzz/corpus

port_file=$(mktemp)
"$server" --port 0 >"$port_file" 2>/dev/null &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null; rm -f "$port_file"' EXIT
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(head -1 "$port_file")
[ -n "$port" ] || { echo "seed-corpus: the local service did not start" >&2; exit 1; }
base="http://127.0.0.1:$port"
token=""

# call METHOD PATH [BODY]: the reply body on stdout, as the app would send the request.
call() {
  local args=(-sS --fail-with-body -X "$1" -H "x-client: vexora-fuzz-seed" -H "content-type: application/json")
  [ -n "$token" ] && args+=(-H "Authorization: Bearer $token")
  [ $# -ge 3 ] && args+=(--data "$3")
  curl "${args[@]}" "$base$2"
}

# seed TARGET SELECTOR NAME: stdin becomes fuzz/corpus/TARGET/NAME. Issued tokens are masked:
# committed files hold none, and the decoders only care about their shape.
seed() {
  mkdir -p "$corpus/$1"
  { printf '%s' "$2"; sed -E 's/\b(at|rt)_[0-9a-f]{32}/\1_0123456789abcdef0123456789abcdeX/g'; } >"$corpus/$1/$3"
}

field() { sed -n "s/.*\"$1\":\"\\([^\"]*\\)\".*/\\1/p"; }

tenant="tenantId=tenant-demo"
shorts="/api/dashboard/shorts"

# auth_replies: 0 sign-in and refresh, 1 browser start, 2 browser poll
signin=$(call POST /api/auth/signin '{"email":"demo@vexora.local","password":"demo","method":"macos_menu_bar"}')
seed auth_replies 0 signin <<<"$signin"
refresh_token=$(field refresh_token <<<"$signin")
call POST /api/auth/refresh "{\"refresh_token\":\"$refresh_token\",\"method\":\"macos_menu_bar\"}" | seed auth_replies 0 refresh
start=$(call POST /api/auth/native/session '{"mode":"signin","provider":"google"}')
seed auth_replies 1 browser-start <<<"$start"
session_id=$(field sessionId <<<"$start")
token=$(field pollToken <<<"$start")
call GET "/api/auth/native/session/$session_id" | seed auth_replies 2 browser-pending
curl -sS -X POST --data "" "$base/auth/browser/$session_id/approve" >/dev/null
call GET "/api/auth/native/session/$session_id" | seed auth_replies 2 browser-complete
token=$(field access_token <<<"$signin")

# context_records: 0 tenants, 1 usage, 2 favorites, 3 products, 4 social accounts
call GET /api/tenants | seed context_records 0 tenants
call GET "/api/ai-insights/usage/stats?$tenant" | seed context_records 1 usage
call GET "/api/ai-insights/favorites?$tenant" | seed context_records 2 favorites
call GET "/api/dashboard/products?$tenant" | seed context_records 3 products
call GET "/api/social-accounts?$tenant" | seed context_records 4 social-accounts

# generation_records: 0 suggestions, 1 script, 2 avatar, 3 video, 4 poll, 5 publish
call GET "$shorts/suggest-topics?$tenant&favoriteId=fav-1" | seed generation_records 0 suggest-topics
call GET "$shorts/suggest-knowledge?$tenant&favoriteId=fav-1" | seed generation_records 0 suggest-knowledge
script=$(call POST "$shorts/script" '{"tenantId":"tenant-demo","topic":"Linen care","favorite_id":"fav-1","duration":"short","requested_duration_seconds":10,"style":"hook","language":"en"}')
seed generation_records 1 script <<<"$script"
db_id=$(field db_id <<<"$script")
avatar=$(call POST "$shorts/avatar" "{\"tenantId\":\"tenant-demo\",\"db_id\":\"$db_id\",\"gender\":\"female\",\"origin\":\"european\",\"age_range\":\"26-35\",\"type\":\"tech_founder\",\"location\":\"coffee_shop\"}")
seed generation_records 2 avatar <<<"$avatar"
avatar_url=$(field avatar_url <<<"$avatar")
video=$(call POST "$shorts/generate" "{\"tenantId\":\"tenant-demo\",\"db_id\":\"$db_id\",\"prompt\":\"p\",\"avatar_url\":\"$avatar_url\",\"reuse_avatar\":false,\"duration\":10,\"speech_text\":\"s\"}")
seed generation_records 3 video <<<"$video"
generation_id=$(field generation_id <<<"$video")
for poll in 1 2 3 4 5; do
  reply=$(call GET "$shorts/$generation_id?$tenant")
  seed generation_records 4 "poll-$poll" <<<"$reply"
  case "$reply" in *completed*) break ;; esac
done
video_url=$(field video_url <<<"$reply")
call POST "$shorts/publish" "{\"tenantId\":\"tenant-demo\",\"db_id\":\"$db_id\",\"video_url\":\"$video_url\",\"speech_text\":\"s\",\"targets\":[{\"platform\":\"tiktok\",\"account_id\":\"acct-tt-1\"},{\"platform\":\"instagram_reels\",\"account_id\":\"acct-nope\"}]}" |
  seed generation_records 5 publish
failing=$(call POST "$shorts/script" '{"tenantId":"tenant-demo","topic":"make it fail","duration":"short","requested_duration_seconds":5,"style":"hook","language":"en"}')
failing_video=$(call POST "$shorts/generate" "{\"tenantId\":\"tenant-demo\",\"db_id\":\"$(field db_id <<<"$failing")\",\"prompt\":\"p\",\"avatar_url\":\"$avatar_url\",\"reuse_avatar\":true,\"duration\":5,\"speech_text\":\"s\"}")
for _ in 1 2 3 4 5; do reply=$(call GET "$shorts/$(field generation_id <<<"$failing_video")?$tenant"); done
seed generation_records 4 poll-failed <<<"$reply"

# history_records: 0 history, 1 avatar list, 2 avatar generated, 3 avatar deleted
call GET "$shorts/history?$tenant&limit=4" | seed history_records 0 history
avatars=$(call GET "$shorts/avatars?$tenant&limit=3")
seed history_records 1 avatars <<<"$avatars"
call POST "$shorts/avatars/generate" '{"tenantId":"tenant-demo","gender":"male","origin":"asian","age_range":"36-45","type":"chef","location":"kitchen"}' |
  seed history_records 2 avatar-generate
call DELETE "$shorts/avatars/$(field id <<<"$avatars")?$tenant" | seed history_records 3 avatar-delete

# schedule_records: 0 list, 1 mutation
call GET "$shorts/schedules?$tenant" | seed schedule_records 0 schedules
created=$(call POST "$shorts/schedules?$tenant" "{\"favorite_id\":\"fav-1\",\"name\":\"UGC Schedule\",\"runs_per_day\":2,\"run_hours\":[9,17],\"timezone\":\"Europe/Berlin\",\"topic_source\":\"gap\",\"default_duration\":10,\"default_language\":\"en\",\"default_avatar_random\":false,\"default_avatar_config\":{\"avatar_url\":\"$avatar_url\"},\"auto_publish\":false,\"is_enabled\":true}")
seed schedule_records 1 schedule-create <<<"$created"
call PATCH "$shorts/schedules/$(field id <<<"$created")?$tenant" '{"is_enabled":false,"pause_reason":"manual"}' |
  seed schedule_records 1 schedule-pause

# json_value: 0 the value round trip, 1 the reader's accessors, over replies of every shape
seed json_value 0 signin <<<"$signin"
call GET "$shorts/history?$tenant&limit=2" | seed json_value 0 history
call GET "/api/social-accounts?$tenant" | seed json_value 1 social-accounts
call GET "$shorts/schedules?$tenant" | seed json_value 1 schedules

# appcast_feed: the whole body is the feed
curl -sS "$base/appcast.xml" | seed appcast_feed "" devserver-feed

echo "seed-corpus: $(find "$corpus" -type f | wc -l) files, $(find "$corpus" -type f -exec cat {} + | wc -c) bytes in $corpus"

/*
 * A Weston module for the Wayland tests: a seat with a pointer and a keyboard
 * that a test drives through a Unix socket, and screenshots of the output.
 * The socket's path comes from MTB_WESTON_CONTROL. A client sends one command
 * a line and gets "ok" or "error <reason>" back for each, in order:
 *
 *   move X Y                pointer to pixel X, Y of the first output
 *   button CODE 1|0         press (1) or release (0) an evdev button, BTN_LEFT is 272
 *   axis vertical|horizontal STEPS
 *                           wheel clicks; positive scrolls down or right
 *   key CODE 1|0            press or release an evdev key, with the default keymap
 *   screenshot PATH         the first output as a binary PPM, after its next repaint
 *
 * An answer comes after Weston has sent the events to the focused client, so
 * a client round trip after it sees them.
 */
#define _GNU_SOURCE
#include <libweston/libweston.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

/* Weston 10 exports these to its backends but installs no header for them. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *ec, const char *seat_name);
int weston_seat_init_pointer(struct weston_seat *seat);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
void weston_seat_release(struct weston_seat *seat);
void weston_output_damage(struct weston_output *output);
void notify_motion_absolute(struct weston_seat *seat, const struct timespec *time, double x, double y);
void notify_button(struct weston_seat *seat, const struct timespec *time, int32_t button,
		   enum wl_pointer_button_state state);
void notify_axis(struct weston_seat *seat, const struct timespec *time, struct weston_pointer_axis_event *event);
void notify_axis_source(struct weston_seat *seat, uint32_t source);
void notify_pointer_frame(struct weston_seat *seat);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key,
		enum wl_keyboard_key_state state, enum weston_key_state_update update_state);

int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[]);

struct test_seat {
	struct weston_compositor *compositor;
	struct weston_seat seat;
	struct wl_listener destroy_listener;
	struct wl_event_source *listen_source;
	int listen_fd;
	char *socket_path;
	struct wl_list clients;
};

struct control_client {
	struct test_seat *owner;
	struct wl_list link;
	int fd;
	struct wl_event_source *source;
	char buffer[4096];
	size_t length;
	/* While a screenshot waits for its repaint, later commands wait too. */
	struct weston_output *shot_output;
	struct wl_listener frame_listener;
	char shot_path[1024];
};

static void process_lines(struct control_client *client);

static void
reply(struct control_client *client, const char *text)
{
	size_t length = strlen(text);
	const char *rest = text;

	/* Answers are a few bytes, so a full socket buffer means a client that stopped reading. */
	while (length > 0) {
		ssize_t written = send(client->fd, rest, length, MSG_NOSIGNAL);
		if (written < 0 && errno == EINTR)
			continue;
		if (written <= 0)
			return;
		rest += written;
		length -= (size_t)written;
	}
}

static struct weston_output *
first_output(struct test_seat *ts)
{
	struct weston_output *output;

	wl_list_for_each(output, &ts->compositor->output_list, link)
		return output;
	return NULL;
}

static void
destroy_client(struct control_client *client)
{
	if (client->shot_output)
		wl_list_remove(&client->frame_listener.link);
	wl_event_source_remove(client->source);
	close(client->fd);
	wl_list_remove(&client->link);
	free(client);
}

static int
write_ppm(const char *path, const uint32_t *pixels, int width, int height, bool flipped)
{
	FILE *file = fopen(path, "wb");
	unsigned char *row;
	int ok = 1;

	if (!file)
		return 0;
	row = malloc((size_t)width * 3);
	if (!row) {
		fclose(file);
		return 0;
	}
	fprintf(file, "P6\n%d %d\n255\n", width, height);
	for (int y = 0; y < height && ok; ++y) {
		const uint32_t *source = pixels + (size_t)(flipped ? height - 1 - y : y) * width;
		for (int x = 0; x < width; ++x) {
			row[3 * x] = (source[x] >> 16) & 0xff;
			row[3 * x + 1] = (source[x] >> 8) & 0xff;
			row[3 * x + 2] = source[x] & 0xff;
		}
		ok = fwrite(row, 3, (size_t)width, file) == (size_t)width;
	}
	free(row);
	return fclose(file) == 0 && ok;
}

/* The repaint that follows the request has run: its pixels are what clients committed. */
static void
frame_done(struct wl_listener *listener, void *data)
{
	struct control_client *client = wl_container_of(listener, client, frame_listener);
	struct weston_output *output = client->shot_output;
	struct weston_compositor *compositor = client->owner->compositor;
	int width = output->current_mode->width;
	int height = output->current_mode->height;
	uint32_t *pixels = malloc((size_t)width * height * 4);
	int ok;

	(void)data;
	wl_list_remove(&client->frame_listener.link);
	client->shot_output = NULL;
	ok = pixels
		&& compositor->renderer->read_pixels(output, PIXMAN_a8r8g8b8, pixels, 0, 0, width, height) == 0
		&& write_ppm(client->shot_path, pixels, width, height,
			     compositor->capabilities & WESTON_CAP_CAPTURE_YFLIP);
	free(pixels);
	reply(client, ok ? "ok\n" : "error cannot read or write the output's pixels\n");
	process_lines(client);
}

static void
run_command(struct control_client *client, const char *line)
{
	struct test_seat *ts = client->owner;
	struct weston_output *output = first_output(ts);
	struct timespec time;
	char word[16];
	double x, y;
	unsigned code;
	int count, pressed, steps;

	weston_compositor_get_time(&time);
	if (sscanf(line, "move %lf %lf%n", &x, &y, &count) == 2 && line[count] == '\0') {
		if (!output) {
			reply(client, "error no output\n");
			return;
		}
		notify_motion_absolute(&ts->seat, &time, output->x + x, output->y + y);
		notify_pointer_frame(&ts->seat);
	} else if (sscanf(line, "button %u %d%n", &code, &pressed, &count) == 2 && line[count] == '\0') {
		notify_button(&ts->seat, &time, (int32_t)code,
			      pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
		notify_pointer_frame(&ts->seat);
	} else if (sscanf(line, "axis %15s %d%n", word, &steps, &count) == 2 && line[count] == '\0'
		   && (strcmp(word, "vertical") == 0 || strcmp(word, "horizontal") == 0)) {
		/* Weston's own wheel devices send ten units a click. */
		struct weston_pointer_axis_event event = {
			.axis = strcmp(word, "vertical") == 0 ? WL_POINTER_AXIS_VERTICAL_SCROLL
							      : WL_POINTER_AXIS_HORIZONTAL_SCROLL,
			.value = 10.0 * steps,
			.has_discrete = true,
			.discrete = steps,
		};
		notify_axis_source(&ts->seat, WL_POINTER_AXIS_SOURCE_WHEEL);
		notify_axis(&ts->seat, &time, &event);
		notify_pointer_frame(&ts->seat);
	} else if (sscanf(line, "key %u %d%n", &code, &pressed, &count) == 2 && line[count] == '\0') {
		notify_key(&ts->seat, &time, code,
			   pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED,
			   STATE_UPDATE_AUTOMATIC);
	} else if (strncmp(line, "screenshot /", 12) == 0 && strlen(line + 11) < sizeof client->shot_path) {
		if (!output) {
			reply(client, "error no output\n");
			return;
		}
		strcpy(client->shot_path, line + 11);
		client->shot_output = output;
		client->frame_listener.notify = frame_done;
		wl_signal_add(&output->frame_signal, &client->frame_listener);
		weston_output_damage(output);
		return;
	} else {
		reply(client, "error unknown command\n");
		return;
	}
	reply(client, "ok\n");
}

static void
process_lines(struct control_client *client)
{
	while (!client->shot_output) {
		char *end = memchr(client->buffer, '\n', client->length);
		size_t used;

		if (!end)
			return;
		*end = '\0';
		used = (size_t)(end - client->buffer) + 1;
		run_command(client, client->buffer);
		client->length -= used;
		memmove(client->buffer, client->buffer + used, client->length);
	}
}

static int
client_readable(int fd, uint32_t mask, void *data)
{
	struct control_client *client = data;
	ssize_t got;

	(void)mask;
	if (client->length == sizeof client->buffer) {
		reply(client, "error line too long\n");
		client->length = 0;
	}
	got = recv(fd, client->buffer + client->length, sizeof client->buffer - client->length, 0);
	if (got < 0 && (errno == EAGAIN || errno == EINTR))
		return 0;
	if (got <= 0) {
		destroy_client(client);
		return 0;
	}
	client->length += (size_t)got;
	process_lines(client);
	return 0;
}

static int
connection_waiting(int fd, uint32_t mask, void *data)
{
	struct test_seat *ts = data;
	struct wl_event_loop *loop = wl_display_get_event_loop(ts->compositor->wl_display);
	struct control_client *client;
	int client_fd;

	(void)mask;
	client_fd = accept4(fd, NULL, NULL, SOCK_CLOEXEC | SOCK_NONBLOCK);
	if (client_fd < 0)
		return 0;
	client = calloc(1, sizeof *client);
	if (!client) {
		close(client_fd);
		return 0;
	}
	client->owner = ts;
	client->fd = client_fd;
	client->source = wl_event_loop_add_fd(loop, client_fd, WL_EVENT_READABLE, client_readable, client);
	if (!client->source) {
		close(client_fd);
		free(client);
		return 0;
	}
	wl_list_insert(&ts->clients, &client->link);
	return 0;
}

static void
compositor_destroyed(struct wl_listener *listener, void *data)
{
	struct test_seat *ts = wl_container_of(listener, ts, destroy_listener);
	struct control_client *client, *next;

	(void)data;
	wl_list_for_each_safe(client, next, &ts->clients, link)
		destroy_client(client);
	wl_event_source_remove(ts->listen_source);
	close(ts->listen_fd);
	unlink(ts->socket_path);
	free(ts->socket_path);
	weston_seat_release(&ts->seat);
	free(ts);
}

static int
listen_on(const char *path)
{
	struct sockaddr_un address = { .sun_family = AF_UNIX };
	int fd;

	if (strlen(path) >= sizeof address.sun_path)
		return -1;
	strcpy(address.sun_path, path);
	fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (fd < 0)
		return -1;
	unlink(path);
	if (bind(fd, (struct sockaddr *)&address, sizeof address) < 0 || listen(fd, 4) < 0) {
		close(fd);
		return -1;
	}
	return fd;
}

WL_EXPORT int
wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	const char *path = getenv("MTB_WESTON_CONTROL");
	struct wl_event_loop *loop = wl_display_get_event_loop(compositor->wl_display);
	struct test_seat *ts;

	(void)argc;
	(void)argv;
	if (!path || !*path) {
		weston_log("test seat: MTB_WESTON_CONTROL names no socket\n");
		return -1;
	}
	ts = calloc(1, sizeof *ts);
	if (!ts)
		return -1;
	ts->compositor = compositor;
	wl_list_init(&ts->clients);
	ts->listen_fd = listen_on(path);
	if (ts->listen_fd < 0) {
		weston_log("test seat: cannot listen on %s: %s\n", path, strerror(errno));
		free(ts);
		return -1;
	}
	ts->socket_path = strdup(path);
	ts->listen_source = wl_event_loop_add_fd(loop, ts->listen_fd, WL_EVENT_READABLE, connection_waiting, ts);
	weston_seat_init(&ts->seat, compositor, "test-seat");
	weston_seat_init_pointer(&ts->seat);
	if (weston_seat_init_keyboard(&ts->seat, NULL) < 0)
		weston_log("test seat: no keyboard, the default keymap failed to compile\n");
	weston_compositor_add_destroy_listener_once(compositor, &ts->destroy_listener, compositor_destroyed);
	return 0;
}

-- The database of a remote voice (dictation) system, as its voice services reach it: the system's
-- own users per facility, with their dictation rights and playback settings, and the named groups
-- a user belongs to. A facility administrator (is_admin 1) acts for the console.
CREATE TABLE vv_system_info (
    product_name varchar(50) NOT NULL,
    product_version varchar(20) NOT NULL
)
CREATE TABLE vv_security_groups (
    group_id int NOT NULL PRIMARY KEY,
    group_name varchar(50) NOT NULL
)
CREATE TABLE vv_config_groups (
    group_id int NOT NULL PRIMARY KEY,
    group_name varchar(50) NOT NULL
)
-- password_digest: SHA-256 of facility, user id and password, as 64 hexadecimal digits.
CREATE TABLE vv_users (
    facility int NOT NULL,
    user_id int NOT NULL,
    user_name varchar(60) NOT NULL,
    password_digest varchar(64) NULL,
    must_change tinyint NOT NULL DEFAULT 0,
    is_admin tinyint NOT NULL DEFAULT 0,
    allow_dictate tinyint NOT NULL DEFAULT 1,
    allow_listen tinyint NOT NULL DEFAULT 1,
    allow_open_tasks tinyint NOT NULL DEFAULT 1,
    suspended tinyint NOT NULL DEFAULT 0,
    allow_route_change tinyint NOT NULL DEFAULT 0,
    gain int NOT NULL DEFAULT 0,
    num_open_tasks int NOT NULL DEFAULT 1,
    pause_alert_interval int NOT NULL DEFAULT 0,
    accel_factor int NOT NULL DEFAULT 0,
    auto_back_inc int NOT NULL DEFAULT 0,
    ff_inc int NOT NULL DEFAULT 0,
    rew_inc int NOT NULL DEFAULT 0,
    security_group int NOT NULL DEFAULT 0,
    configuration_group int NOT NULL DEFAULT 0,
    address varchar(255) NULL,
    email varchar(100) NULL,
    fax varchar(50) NULL,
    notes varchar(255) NULL,
    pager varchar(50) NULL,
    telephone varchar(50) NULL,
    modified datetime NULL,
    PRIMARY KEY (facility, user_id)
)
GO
INSERT INTO vv_system_info (product_name, product_version) VALUES ('Veltra Voice', '5.2')
INSERT INTO vv_security_groups (group_id, group_name) VALUES (0, 'Authors')
INSERT INTO vv_security_groups (group_id, group_name) VALUES (1, 'Supervisors')
INSERT INTO vv_config_groups (group_id, group_name) VALUES (0, 'Standard')
INSERT INTO vv_config_groups (group_id, group_name) VALUES (1, 'Hands-free')
GO
